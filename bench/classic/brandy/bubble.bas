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
120 PROCresult(STR$(A(1)) + " " + STR$(A(1800)) + " " + STR$(A(3600)))
130 END
9000 DEF PROCresult(R$)
9010 LOCAL F%, K%
9020 F% = OPENUP("result.txt")
9030 IF F% = 0 THEN F% = OPENOUT("result.txt") ELSE PTR#F% = EXT#F%
9040 FOR K% = 1 TO LEN(R$): BPUT#F%, ASC(MID$(R$, K%, 1)): NEXT
9050 BPUT#F%, 10
9060 CLOSE#F%
9070 ENDPROC
