stop
for i = 1 to 3
if i = 2 then break
print "i"; i
next
print "after"; i
