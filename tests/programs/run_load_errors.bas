print "statement numbers and line limits"
