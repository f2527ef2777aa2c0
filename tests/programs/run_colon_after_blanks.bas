5 REM Statements end before the blanks that precede ":"; a skipped OPEN only parses.
10 GOSUB 100 : PRINT "back"
20 IF 0 THEN OPEN "serial", 1, "x", 0, 9600, "no", 1
30 GOTO 40 :
40 RANDOMIZE 3 : PRINT "ok"
50 END :
100 RETURN
