DEF f(x) = GOSUB 300
FOR i = 1 TO 3
  PRINT "call"; i; f(i)
NEXT
PRINT "not reached"
300 IF x = 2 THEN END
    RETURN x
