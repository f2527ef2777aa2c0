x = 7: y$ = "kept"
print "chain one"
chain "chain2.bas", "KEEPDATA"
print "not reached"
