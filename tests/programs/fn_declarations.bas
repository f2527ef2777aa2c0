// DIM, ERASE, SWAP, LONG, FLOAT, INTEGER, DEGREES, RADIANS and RANDOMIZE.
DIM a(5), b$(2, 3), c(2, 2, 2)
a(4) = 9: b$(1, 2) = "x": c(1, 1, 1) = 3
PRINT a(4); b$(1, 2); c(1, 1, 1)
ERASE a
DIM a(2)
PRINT a(1)
DIM q(3)
ERASE Q
q(2) = 5
PRINT q(2)
p = 1: r = 2
SWAP p, r
PRINT p; r
p$ = "left": r$ = "right"
SWAP p$, r$
PRINT p$; " "; r$
LONG "all"
z = 2
PRINT z / 3
LONG "all", "off"
w = 2
PRINT w / 3
LONG big, arr(2)
big = 10: arr(1) = 20
PRINT big + arr(1)
FLOAT 11
PRINT floatingptlength; long(1) / 3
FLOAT
PRINT floatingptlength
INTEGER
PRINT long(7) / 2
FLOAT 50
DEGREES
PRINT sin(90); cos(180)
RADIANS
PRINT sin(0)
RANDOMIZE 42
x = rnd(1)
RANDOMIZE 42
PRINT x = rnd(1)
RANDOMIZE 4294967295
RANDOMIZE timer
RANDOMIZE "TIMER"
PRINT "done"
