print "crlf line"
print "lf line"
