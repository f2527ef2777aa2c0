print "appended"
