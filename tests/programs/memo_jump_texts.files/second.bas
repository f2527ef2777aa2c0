// The first of three programs whose statements stand at the same places of
// the text with other numbers and keywords: what a jump or an IF found in one
// program must not carry over to the next, whether run or chained.
FOR i = 1 TO 3
  GOSUB 300
  IF i = 2 ELSE PRINT "else of second"
NEXT
GOTO 100
100 PRINT "second"; i
    RETURN
300 PRINT "second 300"
    RETURN
