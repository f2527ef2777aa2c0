// A call after PRINT % is no target, even one whose argument is a string
// variable: the program is refused before it runs.
b$ = "bbbbbb"
print %left$(b$, 2); "zz"
print b$
