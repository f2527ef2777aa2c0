// Runs of statements passed over to the end of their line again and again:
// the rest of a false IF, with an ELSE on the line, with a long string
// literal whose temporary copy makes the peak PRINTALL shows, a run whose
// variables are first made while it is passed over, a run whose last
// statement is a GOTO, an array erased and made anew between passes, and
// DEBUG switched on in the middle of the loop.
DIM a(7)
FOR i = 1 TO 6
  a(i) = (i * 5) - INT(i * 5 / 7) * 7
NEXT
n = 0
FOR i = 1 TO 5
  IF a(i) > a(i + 1) THEN t = a(i): a(i) = a(i + 1): a(i + 1) = t: n = n + 1
  IF i = 99 THEN fresh = 1: other$ = "made while passed over" + STR$(fresh): GOTO 200
  IF i = 3 THEN PRINT "three": q = 1 ELSE q = 2: r = q * 2
  IF i = 4 THEN w$ = "a literal long enough to raise the peak of the temporary strings": x$ = w$ + w$
  PRINT i; a(i); n; q; r; LEN(w$)
NEXT
PRINTALL
FOR pass = 1 TO 3
  IF pass < 0 THEN a(1) = 9: a(2) = a(1) + 1
  PRINT "pass"; pass; a(1); a(2)
  ERASE a
  DIM a(4)
  a(1) = pass
NEXT
FOR i = 1 TO 3
  IF i = 2 THEN DEBUG
  IF i > 5 THEN u = 1: v = u + 1
  DEBUG OFF
NEXT
PRINT "end"
200 END
