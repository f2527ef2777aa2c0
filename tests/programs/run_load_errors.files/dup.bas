10 print "one"
20 print "two"
10 print "again"
