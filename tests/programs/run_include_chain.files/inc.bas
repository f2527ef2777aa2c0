print "included line"
300 print "line 300 from the included file"
