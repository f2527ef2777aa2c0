10 REM Recursive user function: Fibonacci by definition
20 PROCresult(STR$(FNfib(31)))
30 END
40 DEF FNfib(N)
50 IF N < 2 THEN =N
60 =FNfib(N - 1) + FNfib(N - 2)
9000 DEF PROCresult(R$)
9010 LOCAL F%, K%
9020 F% = OPENUP("result.txt")
9030 IF F% = 0 THEN F% = OPENOUT("result.txt") ELSE PTR#F% = EXT#F%
9040 FOR K% = 1 TO LEN(R$): BPUT#F%, ASC(MID$(R$, K%, 1)): NEXT
9050 BPUT#F%, 10
9060 CLOSE#F%
9070 ENDPROC
