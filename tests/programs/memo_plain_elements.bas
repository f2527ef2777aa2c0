// Expressions of variables, literals and array elements, run again and
// again: the values as the elements change, and a division by an element
// that has become zero on a later pass.
DIM v(6), m(4, 4)
FOR i = 0 TO 5
  v(i) = i * 2
NEXT
FOR i = 1 TO 3
  m(i, 2) = i + 10
NEXT
FOR i = 1 TO 4
  t = v(i) * 3 + m(1, 2) - v(i - 1) / 2
  PRINT i; t; 100 / v(5 - i) + m(i - 1, 2)
  IF v(i) > m(1, 2) - 6 THEN PRINT "over"; v(i)
  IF i = 2 THEN v(3) = 0.5: m(2, 2) = -1
NEXT
FOR i = 1 TO 4
  PRINT i; 12 / v(5 - i) - m(2, 2)
  IF i = 2 THEN v(2) = 0
NEXT
