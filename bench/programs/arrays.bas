10 REM Array fill and a bubble sort
20 DIM A(400)
30 FOR I = 1 TO 399
40 A(I) = (I * 7919) - INT((I * 7919) / 400) * 400
50 NEXT
60 FOR I = 1 TO 398
70 FOR J = 1 TO 399 - I
80 IF A(J) > A(J + 1) THEN T = A(J): A(J) = A(J + 1): A(J + 1) = T
90 NEXT
100 NEXT
110 PRINT A(1); A(200); A(399)
120 END
