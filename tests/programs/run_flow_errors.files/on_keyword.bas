on 1 print 10
10 print "x"
