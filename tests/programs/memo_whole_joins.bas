// String assignments from joins run pass after pass while what they meet
// changes: CHR$, LEFT$, RIGHT$ and MID$ of changing arguments, a text that
// grows past the longest string and fills the string space (cleaned up as
// it runs), the peak PRINTALL shows, and a MID$ whose start leaves its range
// on the last pass.
t$ = "abcdef"
s$ = ""
FOR i = 1 TO 1000
  s$ = s$ + CHR$(64 + i / 20) + LEFT$(t$, i) + RIGHT$(t$, i / 2) + MID$(t$, 1 + i / 200, 2)
  IF INT(i / 200) = i / 200 THEN PRINT LEN(s$); " "; RIGHT$(s$, 12)
  IF LEN(s$) > 240 THEN s$ = ""
NEXT
w$ = "x"
FOR i = 1 TO 3
  w$ = "<" + w$ + ">"
NEXT
PRINT w$
PRINTALL
FOR i = 1 TO 4
  u$ = MID$(t$, 4 - i) + "!"
  PRINT u$
NEXT
