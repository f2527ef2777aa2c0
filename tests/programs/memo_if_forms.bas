// IF with THEN in its forms, run again in a loop: THEN before ELSE, at the
// line end, before a colon, blanks, nested IF, a loop behind THEN.
FOR i = 1 TO 4
  IF i > 2 THEN ELSE PRINT "else"; i
  IF i = 2 THEN
  IF i = 3 THEN : PRINT "colon"; i
  IF i = 1 THEN   PRINT "blanks" ELSE IF i = 4 THEN PRINT "nested" ELSE PRINT "inner else"
  IF i = 2 THEN FOR j = 1 TO 2: PRINT j;: NEXT: PRINT
  IF i = 4 THEN PRINT "end" ELSE 
NEXT
IF 1 THEN GOTO 100
100 PRINT "done"
