// Assignment, LSET and RSET into FIELD variables on a string and on a RANDOM record.
rec$ = "abc"
FIELD rec$, 2 AS f1$, 5 AS f2$
f2$ = "ab"
PRINT "["; rec$; "]["; f2$; "]"
LSET f2$ = "xy"
PRINT "["; rec$; "]"
RSET f2$ = "xy"
PRINT "["; rec$; "]"
f2$ = "abcdefg"
PRINT "["; rec$; "]["; f1$; "]"
OPEN "random", 1, "data.bin", 10
FIELD #1, 3 AS g1$, 7 AS g2$
RSET g1$ = "z"
g2$ = "hello"
PUT #1, 1
GET #1, 1
PRINT "["; g1$; "]["; g2$; "]"
CLOSE 1
