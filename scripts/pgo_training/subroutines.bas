// Subroutines: GOSUB chains, ON GOSUB, IF and ELSE choosing work
total = 0
FOR i = 1 TO 450000
  k = i - INT(i / 3) * 3 + 1
  ON k GOSUB 1000, 1100, 1200
  IF total > 100000 THEN total = total - 100000 ELSE total = total + 1
NEXT
PRINT total
FOR i = 1 TO 240000
  GOSUB 1300
NEXT
PRINT total
END
1000 total = total + i
1010 RETURN
1100 total = total - 1
1110 IF total < 0 THEN total = 0
1120 RETURN
1200 total = total + 2
1210 RETURN
1300 IF i / 5 = INT(i / 5) THEN total = total + 5: RETURN
1310 total = total + 1
1320 RETURN
