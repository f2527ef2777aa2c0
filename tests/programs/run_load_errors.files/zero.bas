0 print "zero"
