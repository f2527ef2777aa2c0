10 REM Nested loops with floating-point arithmetic
20 S = 0
30 FOR I = 1 TO 10000
40 FOR J = 1 TO 1000
50 S = S + I * J / 7 - J
60 NEXT
70 NEXT
80 PROCresult(STR$(INT(S / 1000000)))
90 END
9000 DEF PROCresult(R$)
9010 LOCAL F%, K%
9020 F% = OPENUP("result.txt")
9030 IF F% = 0 THEN F% = OPENOUT("result.txt") ELSE PTR#F% = EXT#F%
9040 FOR K% = 1 TO LEN(R$): BPUT#F%, ASC(MID$(R$, K%, 1)): NEXT
9050 BPUT#F%, 10
9060 CLOSE#F%
9070 ENDPROC
