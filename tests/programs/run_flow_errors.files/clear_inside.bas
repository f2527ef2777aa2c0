x = 1: clear: print "after clear"; x
