// Strings: building, reversing, searching and converting
count = 0
FOR i = 1 TO 36000
  w$ = ""
  FOR j = 1 TO 8
    w$ = w$ + CHR$(97 + (i + j * 3) - INT((i + j * 3) / 26) * 26)
  NEXT
  r$ = ""
  FOR j = LEN(w$) TO 1 STEP -1
    r$ = r$ + MID$(w$, j, 1)
  NEXT
  IF LEFT$(r$, 1) = RIGHT$(w$, 1) THEN count = count + 1
  count = count + INSTR(w$, "e") + ASC(r$) - 97
  n$ = STR$(i)
  count = count + VAL(n$) - i + LEN(TOUPPER$(w$))
NEXT
PRINT count
END
