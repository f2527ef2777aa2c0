10 print "b"
