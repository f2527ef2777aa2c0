run memo_fn_bodies.bas
run missing.bas
run ending.bas
print "typed"; f(1)

