REM Each long function from a program at 50 digits, exact results, an identity.
FLOAT 50
LONG x, s, c, t, q
PRINT SQR(LONG(3))
PRINT EXP(LONG(-2))
PRINT EXP10(LONG(0.5))
PRINT LOG(LONG(10))
PRINT LOG10(LONG(7))
PRINT SIN(LONG(2))
PRINT COS(LONG(2))
PRINT TAN(LONG(0.5))
PRINT COT(LONG(3))
PRINT ATN(LONG(0.2))
PRINT ACOT(LONG(7))
PRINT ROOT(LONG(2), LONG(5))
PRINT LONG(2) ^ LONG(0.5)
PRINT SIN(LONG(100))
PRINT EXP(LONG(25.5))
PRINT LOG(LONG(0.001234))
REM exact: LOG10 of a power of ten, COS 180 and TAN 45 in degrees
x = LOG10(LONG(1000))
PRINT x
PRINT x = LONG(3)
DEGREES
x = COS(LONG(180))
PRINT x, x = LONG(-1)
x = TAN(LONG(45))
PRINT x, x = LONG(1)
RADIANS
REM sin^2 + cos^2 = 1 to the last digit, in radians and degrees
t = LONG("1e-49")
FOR k = -9 TO 9 STEP 2
  x = LONG(k) / LONG(3)
  s = SIN(x)
  c = cossame
  q = s * s + c * c - LONG(1)
  IF ABS(q) > t THEN PRINT "sin^2 + cos^2 misses 1 at"; k
NEXT
DEGREES
FOR k = 1 TO 721 STEP 80
  s = SIN(LONG(k))
  c = COS(LONG(k))
  q = s * s + c * c - LONG(1)
  IF ABS(q) > t THEN PRINT "sin^2 + cos^2 misses 1 at"; k; "degrees"
NEXT
RADIANS
REM the remainder of an integer division
INTEGER
x = LONG(100) / LONG(7)
PRINT x
PRINT remainder
FLOAT 50
DEGREES
PRINT COT(LONG(180))
PRINT "not reached"
