debug trace
a = 1
print a
debug trace off
print "not traced"
