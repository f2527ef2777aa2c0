 10 print "indented"
