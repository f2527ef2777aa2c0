// Statements passed over by a false IF before they first run: what the
// scanner remembers of them while passing over must give the same results
// when they run. Their items: a variable first met while passed over, a
// literal first, an element, string functions (that read as 0 while passed
// over), and a division by zero let through by MATHERROK.
DIM a(7)
FOR i = 1 TO 6
  a(i) = 7 - i
NEXT
FOR pass = 0 TO 2
  FOR j = 1 TO 4
    IF pass > 0 AND a(j) > a(j + 1) THEN t = a(j): a(j) = a(j + 1): a(j + 1) = t
    IF pass = 2 THEN s = 1 + j * fresh: u$ = CHR$(64 + j) + u$: w = LEN(u$) * 2 - a(j + 1)
  NEXT
  PRINT "pass"; pass; a(1); a(2); a(3); a(4); a(5); s; u$; w
NEXT
DEBUG MATHERROK
d = 0
FOR k = 1 TO 3
  IF k = 3 THEN q = a(k) / d + 1: PRINT "q"; q
  IF k < 3 THEN d = d + 0
NEXT
PRINTALL
