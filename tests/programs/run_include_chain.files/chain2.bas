print "chain two"; x; " ["; y$; "]"
