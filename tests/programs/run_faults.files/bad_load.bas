print "must never run"
10 print 1
10 print 2
