10 REM String building, slicing and searching
20 N = 0
30 FOR I = 1 TO 600000
40 S$ = ""
50 FOR J = 1 TO 10
60 S$ = S$ + CHR$(65 + J)
70 NEXT
80 N = N + LEN(MID$(S$, 3, 4)) + ASC(RIGHT$(S$, 1)) + INSTR(S$, "F")
90 NEXT
100 PRINT N
110 END
