// Array elements whose subscripts are remembered, read again after what
// they depend on has changed: a sort that swaps elements inside an IF (run
// and skipped), elements of two dimensions with "," and ";" between the
// subscripts, fractional subscripts, an array erased and made smaller
// between passes, arrays moved by the ERASE of another, and finally a
// subscript that runs past the end.
DIM a(7), b(4, 5)
FOR i = 1 TO 6
  a(i) = (i * 37) - INT(i * 37 / 11) * 11
NEXT
FOR i = 1 TO 5
  FOR j = 1 TO 6 - i
    IF a(j) > a(j + 1) THEN t = a(j): a(j) = a(j + 1): a(j + 1) = t
  NEXT
NEXT
PRINT a(1); a(2); a(3); a(4); a(5); a(6)
FOR i = 0 TO 3
  FOR j = 0 TO 4
    b(i, j) = i * 10 + j
  NEXT
NEXT
s = 0
FOR i = 0 TO 3
  s = s + b(i; 4 - i) * 2 - b(3 - i, i)
NEXT
PRINT "s"; s
FOR i = 1 TO 4
  PRINT a(i / 2 + 1); a(7 / 2 + i / 3);
NEXT
PRINT
FOR pass = 1 TO 2
  FOR i = 1 TO 3
    IF pass = 9 THEN q = a(i * 5): a(i * 5) = a(i * 9)
    a(i) = a(i) + pass
  NEXT
  PRINT "pass"; pass; a(1); a(2); a(3)
  ERASE a
  DIM a(4)
NEXT
DIM e(3), g(3)
e(1) = 5: g(1) = 7
FOR pass = 1 TO 3
  PRINT "moved"; pass; g(1) * 2 + e(1)
  IF pass = 1 THEN ERASE e: DIM e(3): e(1) = 50
  IF pass = 2 THEN ERASE g: DIM g(3): g(1) = 70
NEXT
n = 2
FOR i = 1 TO 3
  a(i) = a(i + n) + i
  PRINT "i"; i; a(i)
NEXT
