// DATA, READ, RESTORE and the read() probe.
100 DATA 1, 2, "three, with comma"
110 DATA 4.5, text here : DATA 6
120 READ a, b, c$
PRINT a; b; " "; c$
PRINT read()
READ d, e$
PRINT d; " "; e$; read()
READ f
PRINT f; read()
RESTORE 110
READ g
PRINT g
RESTORE
READ h
PRINT h
RESTORE 100
READ a, b, c$, d, e$, f
READ z
