print "first"
print "last line without line end"