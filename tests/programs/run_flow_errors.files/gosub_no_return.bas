gosub 10
print "not reached"
10 print "in sub"
