// The program CHAIN runs: same layout, other names.
x = 9: q(1) = 7: q(2) = 8
FOR i = 1 TO 2
  PRINT "two"; q(i) * i
NEXT
