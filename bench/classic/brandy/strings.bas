10 REM String building, slicing and searching
20 N = 0
30 FOR I = 1 TO 600000
40 S$ = ""
50 FOR J = 1 TO 10
60 S$ = S$ + CHR$(65 + J)
70 NEXT
80 N = N + LEN(MID$(S$, 3, 4)) + ASC(RIGHT$(S$, 1)) + INSTR(S$, "F")
90 NEXT
100 PROCresult(STR$(N))
110 END
9000 DEF PROCresult(R$)
9010 LOCAL F%, K%
9020 F% = OPENUP("result.txt")
9030 IF F% = 0 THEN F% = OPENOUT("result.txt") ELSE PTR#F% = EXT#F%
9040 FOR K% = 1 TO LEN(R$): BPUT#F%, ASC(MID$(R$, K%, 1)): NEXT
9050 BPUT#F%, 10
9060 CLOSE#F%
9070 ENDPROC
