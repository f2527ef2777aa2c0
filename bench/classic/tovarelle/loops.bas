10 REM Nested loops with floating-point arithmetic
20 S = 0
30 FOR I = 1 TO 10000
40 FOR J = 1 TO 1000
50 S = S + I * J / 7 - J
60 NEXT
70 NEXT
80 PRINT INT(S / 1000000)
90 END
