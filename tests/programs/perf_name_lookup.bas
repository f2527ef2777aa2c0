// A name met again must still find what a fresh search finds after the
// tables change: CLEAR refills the variables in another order, a DIM gives a
// name its first array, and ERASE moves the arrays that follow.
FOR i = 1 TO 3
  x = x + i
NEXT
y = 7
PRINT x; y
CLEAR
y = 2
x = 11
PRINT x; y; X
IF 0 THEN d(1) = 3
DIM d(2)
d(1) = 5
PRINT d(1)
DIM b(2), c(4)
c(3) = 8
PRINT c(3)
ERASE b
DIM e(5)
e(3) = 6
PRINT c(3); e(3); C(3)
ERASE c
DIM c(4)
PRINT c(3); e(3)
