a = 1
debug step
print "one"
print "two"
