print "a"
return
