// LEN, ASC and INSTR read from memory pass after pass while the texts they
// read change: of string variables and literals, of one CHR$, LEFT$, RIGHT$
// or MID$ call, INSTR from a start, in assignments and IF conditions; the
// temporary strings they take show in PRINTALL; the MID$ start leaves its
// range on the last pass.
s$ = ""
n = 0
FOR i = 1 TO 12
  s$ = s$ + CHR$(64 + i)
  n = n + LEN(MID$(s$, 3, 4)) + ASC(RIGHT$(s$, 1)) + INSTR(s$, "F") + 2
  k = INSTR(i / 3, s$, "C") * 10 + LEN(s$) + ASC(LEFT$(s$, i / 4)) + LEN(CHR$(i - 1))
  IF INSTR(s$, "E") > 0 AND LEN(s$) < 8 THEN PRINT "E in"; LEN(s$);
  IF ASC(MID$(s$, 2)) = 66 THEN PRINT i; n; k
  IF i = 10 THEN PRINTALL
NEXT
FOR i = 1 TO 4
  PRINT LEN(MID$(s$, 4 - i, 2)) + 1
NEXT
