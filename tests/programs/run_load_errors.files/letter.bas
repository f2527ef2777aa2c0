10a print "x"
