DEF f(x) = GOSUB 700
FOR i = 1 TO 2
  PRINT i; f(i)
NEXT
600 RETURN x + 1
