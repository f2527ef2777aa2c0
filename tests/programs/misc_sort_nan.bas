REM rows whose key is not a number sort after every number, in either
REM direction; the letters show where each row went
DEBUG MATHERROK
z = 0/0
DIM b(6,3)
FOR i = 0 TO 5
b(i,2) = i
NEXT
b(0,0) = z: b(1,0) = 4: b(2,0) = -2: b(3,0) = z: b(4,0) = 4: b(5,0) = 1E300
SORT b
GOSUB 100
REM descending keeps the rows without a number last; equal keys come out
REM in the reverse of their order before the sort
SORT b, descending
GOSUB 100
REM a NaN in the second key orders only rows whose first keys are equal
b(0,0) = 1: b(1,0) = 1: b(2,0) = 1: b(3,0) = 0: b(4,0) = 0: b(5,0) = 0
b(0,1) = z: b(1,1) = 3: b(2,1) = 2: b(3,1) = 9: b(4,1) = z: b(5,1) = 8
SORT b keycol1=0 keycol2=1
GOSUB 100
SORT b keycol1=0 keycol2=1 descending
GOSUB 100
REM options separated by blanks only: count=3 then descending
b(0,0) = 1: b(1,0) = 2: b(2,0) = 3: b(3,0) = 4: b(4,0) = 5: b(5,0) = 6
SORT b count = 1 + 2 descending
GOSUB 100
REM DIM d(3) has the three elements d(0) to d(2), and SORT takes all of them
DIM d(3)
d(0) = 30: d(1) = 10: d(2) = 20
SORT d
PRINT d(0); d(1); d(2)
END
100 t$ = ""
FOR i = 0 TO 5
t$ = t$ + CHR$(65 + b(i,2))
NEXT
PRINT t$
RETURN
