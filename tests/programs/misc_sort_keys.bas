REM three key columns; column 0 holds a letter code for each row
DIM t(5,4)
FOR i = 0 TO 4
READ t(i,0), t(i,1), t(i,2), t(i,3)
NEXT
DATA 65, 1, 2, 3
DATA 66, 1, 2, 1
DATA 67, 0, 9, 9
DATA 68, 1, 1, 5
DATA 69, 1, 2, 1
SORT t, keycol1=1, keycol2=2, keycol3=3
GOSUB 100
SORT t keycol1=1 keycol2=2 keycol3=3 descending
GOSUB 100
REM other key columns in another order; rows with equal keys keep their order
SORT t, keycol1=3, keycol2=1, keycol3=2
GOSUB 100
REM a column of a four-dimensional sub-array is a block; its key is the
REM block's first element: c(1, row, 2, 0)
DIM c(2,4,3,2)
FOR r = 0 TO 3
c(1,r,0,0) = 65 + r
c(1,r,2,0) = 4 - r
c(1,r,2,1) = r
c(1,r,1,0) = r
c(0,r,2,0) = r
NEXT
SORT c(1), keycol1=2
t$ = ""
FOR r = 0 TO 3
t$ = t$ + CHR$(c(1,r,0,0))
NEXT
PRINT t$; c(0,0,2,0); c(0,3,2,0)
END
100 t$ = ""
FOR i = 0 TO 4
t$ = t$ + CHR$(t(i,0))
NEXT
PRINT t$
RETURN
