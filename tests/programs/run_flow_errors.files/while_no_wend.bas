while 1
print "w"
