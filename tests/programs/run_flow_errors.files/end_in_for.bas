for i = 1 to 3
print i
if i = 2 then end
next
print "not reached"
