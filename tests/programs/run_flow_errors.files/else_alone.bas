print "a": else print "x"
