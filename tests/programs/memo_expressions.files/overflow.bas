big = 1E300
FOR i = 1 TO 2
  PRINT "big"; big * 10 < 5
  big = big * 1E10
NEXT
