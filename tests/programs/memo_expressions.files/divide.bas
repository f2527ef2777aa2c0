DIM a(5): a(1) = 10: a(2) = 20
d = 2
FOR i = 1 TO 2
  PRINT i; a(i) / d + 1
  d = 0
NEXT
