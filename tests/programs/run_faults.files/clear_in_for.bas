x = 7
for i = 1 to 2
  print "pass"; i
  clear
next
print "not reached"
