dim v(3)
print "a whole numeric array has no printed form"; v
