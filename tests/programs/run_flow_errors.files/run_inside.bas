print "x"
run
