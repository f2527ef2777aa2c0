run error_columns.bas
y = 2 + exp(1000)
y = 2 + EXP10(400)
print 1 + root(1e300, 0.001)
print 1 +   cot(0)
print root(-8, 2)
y = 1 + read(1, 2)
y = 3 + inv(2)
y = 1 + viasub(4)
x = "abc"
a$ = 3 + 4
long q: q = "abc"
dim t(3): t = (5)
x =
print "done"


