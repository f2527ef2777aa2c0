// Strings joined from variables, literals and string functions, run again
// and again: the values as the arguments change, a join cut at 255
// characters, an empty piece, a function given a string argument, an
// argument list that calls a user function (which changes a joined
// variable), and a call that fails on a later pass, at its own column.
DEF grow(n) = GOSUB 900
a$ = "ab"
FOR i = 1 TO 4
  s$ = a$ + CHR$(64 + i) + "-" + LEFT$(a$, i) + MID$("xyzw", i, 2) + SPACE$(i - 1) + "|"
  PRINT s$; LEN(s$)
  t$ = s$ + TOUPPER$(a$) + RIGHT$(s$, 2) + STRING$(i, "*")
  PRINT t$
  a$ = a$ + CHR$(96 + i)
NEXT
e$ = ""
FOR i = 1 TO 3
  b$ = e$ + e$ + CHR$(65 + i) + e$
  PRINT b$; LEN(b$)
NEXT
l$ = STRING$(200, "x")
FOR i = 1 TO 3
  m$ = l$ + STRING$(40, "y") + CHR$(48 + i) + l$ + "z"
  PRINT LEN(m$); RIGHT$(m$, 3)
NEXT
c$ = "c"
FOR i = 1 TO 3
  d$ = c$ + CHR$(grow(i)) + c$
  PRINT d$
NEXT
FOR i = 1 TO 3
  PRINT i;
  f$ = "q" + CHR$(90 + (i - 1) * 200) + "r"
  PRINT f$
NEXT
END
900 c$ = c$ + "+"
910 RETURN 64 + n
