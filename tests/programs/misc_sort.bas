REM one dimension: ascending, descending, unstable, count
DIM a(5)
a(0)=3: a(1)=1.5: a(2)=1.2: a(3)=9: a(4)=0
SORT a
PRINT a(0); a(1); a(2); a(3); a(4)
SORT a, descending
PRINT a(0); a(1); a(2); a(3); a(4)
SORT a unstable
PRINT a(0); a(1); a(2); a(3); a(4)
a(0)=5: a(1)=4: a(2)=3: a(3)=2: a(4)=1
SORT a, count=3
PRINT a(0); a(1); a(2); a(3); a(4)
REM two dimensions by column 2; equal keys keep their order
DIM b(5,3)
FOR i = 0 TO 4
b(i,0) = i + 1
NEXT
b(0,2)=7: b(1,2)=5: b(2,2)=7: b(3,2)=1: b(4,2)=5
SORT b, keycol1=2
FOR i = 0 TO 4
PRINT b(i,0); b(i,2)
NEXT
SORT b keycol1=2, descending
FOR i = 0 TO 4
PRINT b(i,0); b(i,2)
NEXT
REM second key
b(0,0)=2: b(0,1)=9: b(1,0)=1: b(1,1)=5: b(2,0)=2: b(2,1)=3: b(3,0)=1: b(3,1)=8: b(4,0)=0: b(4,1)=0
SORT b, keycol1=0, keycol2=1
FOR i = 0 TO 4
PRINT b(i,0); b(i,1)
NEXT
REM a sub-array of a three-dimensional array
DIM c(3,5,2)
FOR j = 0 TO 4
c(1,j,0) = 10 - j
c(1,j,1) = j
c(0,j,0) = 10 - j
NEXT
SORT c(1)
FOR j = 0 TO 4
PRINT c(1,j,0); c(1,j,1); c(0,j,0)
NEXT
REM strings with and without case
DIM s$(3)
s$(0)="b": s$(1)="A": s$(2)="a"
SORT s$
PRINT s$(0); s$(1); s$(2)
s$(0)="b": s$(1)="a": s$(2)="A"
SORT s$
PRINT s$(0); s$(1); s$(2)
SORT s$, case
PRINT s$(0); s$(1); s$(2)
REM long numbers: unassigned elements count as zero
LONG g(4)
g(0) = 5: g(2) = -3
SORT g
PRINT g(0) = -3; g(1) = 0; g(2) = 0; g(3) = 5
REM a false IF branch sorts nothing
s$(0)="z": s$(1)="y"
IF 1 = 2 THEN SORT s$
PRINT s$(0); s$(1); s$(2)
