DEF f(x) = x + 100
FOR i = 1 TO 2
  PRINT "add"; f(i)
NEXT
