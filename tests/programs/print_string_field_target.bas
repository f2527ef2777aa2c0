// A FIELD variable is no PRINT % target: the string it divides is left whole.
s$ = "abcdefghij"
FIELD s$, 3 AS a$, 4 AS b$
PRINT s$; "|"; a$; "|"; b$; "|"
PRINT %b$; "XY"
PRINT "never"
