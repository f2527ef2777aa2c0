DIM a(3)
FOR i = 1 TO 4
  a(i - 1) = i + 1
  PRINT a(i - 1) * 2
NEXT
