10 REM IF conditions taken from memory pass after pass while what they
20 REM meet changes: the truth flips; THEN, ELSE and GOTO behind them; a
30 REM function of the loop variable; literals whose room PRINTALL shows;
40 REM NaN, false as always; an element that leaves its range on the last pass.
50 DIM a(7)
52 DEBUG MATHERROK
54 z = 0: n = z / z
56 DEBUG MATHERROK OFF
60 FOR i = 1 TO 5: a(i) = i * i: NEXT
70 FOR i = 1 TO 8
80 IF a(i) > 8 + 0.5 THEN PRINT "big"; i;  ELSE PRINT "small"; i;
90 IF INT(i / 2) = i / 2 GOTO 120
100 PRINT "odd"; ABS(i - 10)
110 GOTO 140
120 IF i > 3 THEN IF a(i - 1) < 20 THEN PRINT "even, below"  ELSE PRINT "even, above"
130 IF i < 4 THEN PRINT "even, early"
135 IF n THEN PRINT "NaN true" ELSE PRINT "-";
140 IF i = 5 THEN PRINTALL
150 NEXT
