then print "x"
