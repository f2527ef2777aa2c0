DEF f(x) = x * 2
FOR i = 1 TO 2
  PRINT "double"; f(i)
NEXT
