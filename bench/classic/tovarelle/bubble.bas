10 REM Bubble sort of 3600 numbers
20 N = 3600
30 DIM A(3601)
40 FOR I = 1 TO N
50 A(I) = I * 7919 - INT(I * 7919 / N) * N
60 NEXT
70 FOR I = 1 TO N - 1
80 FOR J = 1 TO N - I
90 IF A(J) > A(J + 1) THEN T = A(J): A(J) = A(J + 1): A(J + 1) = T
100 NEXT
110 NEXT
120 PRINT A(1); A(1800); A(3600)
130 END
