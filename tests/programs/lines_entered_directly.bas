// Lines of every shape run again and again: a number with a colon, leading
// blanks, a number alone, a blank line, several statements, a READ beside
// its DATA, and an error on a later pass, reported at its line and column.
10 FOR I = 1 TO 3
20: X = I * 2
   Y = X + 1
30

40 READ D: PRINT I; X; Y; D
50 DATA 7, 8, 9
60 NEXT
70 FOR I = 1 TO 3
80 Z = LOG(3 - I): PRINT Z
90 NEXT
