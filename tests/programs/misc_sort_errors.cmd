DIM a(5), m(5,3)
SORT a(1)
x = 1
SORT x
SORT A
SORT a, count=1
SORT a, count=-2
SORT m, keycol3=1
SORT m, keycol1=3
SORT m, keycol2=-1
SORT m, backwards
SORT m, count 3
SORT a()
a(0) = 2: a(1) = 1: SORT a, count=2: PRINT a(0); a(1); a(4)

