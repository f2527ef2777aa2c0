// Expressions run again after what they meet has changed: a name that is a
// variable on one call and a function's parameter on the next, literals
// beside array elements (the temporary strings they take show in PRINTALL),
// divisions by zero let through by MATHERROK (a subscript drawing RND is
// evaluated once), a function whose result changes type between passes.
// The session
// (memo_expressions.cmd) then runs programs whose second pass fails.
DIM a(5)
FOR i = 1 TO 4
  a(i) = i * 10
NEXT
d = 2
FOR i = 1 TO 3
  PRINT i; a(i) / d + 1; a(i + 1) - a(i) * 2 > 5; 2 * a(i + 1) - 1
NEXT
DEBUG MATHERROK
FOR i = 1 TO 2
  q = a(i) / d
  PRINT "q"; q
  d = 0
NEXT
d = 2
FOR i = 1 TO 3
  q = a(INT(RND(1) * 3) + 1) / d + 0 * i
  PRINT "r"; q
  d = 0
NEXT
PRINT INT(RND(1) * 1000)
FOR i = 1 TO 3
  w = INT(RND(1) * 100) / d + (i - 1)
  PRINT "w"; w
  d = i - 1
NEXT
DEBUG MATHERROK OFF
s$ = "3"
FOR i = 1 TO 3
  v = VAL(s$) * 2 + i
  PRINT "v"; v; (VAL(s$)) + 1
  s$ = "123456789012345678901"
  IF i = 2 THEN s$ = "0.5"
NEXT
DEF twice(x) = GOSUB 900
x = 7
FOR i = 1 TO 2
  GOSUB 900
  PRINT "plain"; r; twice(i); r
NEXT
FOR i = 1 TO 2
  s = 3 * a(i) + 12345 - a(i + 1) / 10
NEXT
PRINT s
PRINTALL
END
900 r = x * 2 + 1
910 RETURN r
