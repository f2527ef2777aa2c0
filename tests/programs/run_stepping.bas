a = 1
stop
print "after stop"; a
a = a + 1: print "a is"; a
print "done"
