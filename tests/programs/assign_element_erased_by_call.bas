DIM u(5), v(2, 3)
DEF f2(x) = GOSUB 900
DEF f3(x) = GOSUB 950
DEF f4(x) = GOSUB 980
u(3) = f2(2) + 1
PRINT "u"; u(3)
v(1, 2) = f3(0)
PRINT "v"; v(1, 2); v(0, 2)
u(4) = f4(0)
PRINT "not reached"
END
900 ERASE u: DIM u(5)
RETURN 7
950 ERASE v: DIM v(3, 3)
RETURN 9
980 ERASE u: DIM u(2)
RETURN 1
