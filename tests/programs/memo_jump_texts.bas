// The first of three programs whose statements stand at the same places of
// the text with other numbers and keywords: what a jump or an IF found in one
// program must not carry over to the next, whether run or chained.
FOR i = 1 TO 3
  GOSUB 100
  IF i = 2 THEN PRINT "two" ELSE PRINT "not two"
NEXT
CHAIN "second.bas"
100 PRINT "first"; i
    RETURN
300 PRINT "first 300"
    RETURN
