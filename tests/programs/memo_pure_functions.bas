// Numeric functions of one argument inside expressions run again and again:
// their values as the argument changes, the angle mode switched between
// passes, and an argument that becomes invalid on a later pass.
DIM w(5)
FOR i = 1 TO 4
  w(i) = i * 1.5
NEXT
FOR i = 1 TO 4
  PRINT i; INT(w(i)) + ABS(2 - i) * 10; SGN(i - 2); FIX(-w(i))
  IF i / 2 = INT(i / 2) THEN PRINT "even"; i
NEXT
FOR i = 1 TO 3
  IF i = 2 THEN DEGREES
  IF i = 3 THEN RADIANS
  PRINT i; INT(SIN(90) * 1000); INT(COS(i * 60) * 1000)
NEXT
FOR i = 1 TO 4
  PRINT i; SQR(3 - i) + w(i); INT(SQR(3 - i) * 1000) + w(i)
NEXT
