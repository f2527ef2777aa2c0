// Assignment to every target kind, LSET, RSET and the MID$ statement.
x = "12.5"
PRINT x
a$ = long(2) / 3
PRINT a$
LONG y
y = 7
PRINT y
DIM b(3,4), d(6), m$(2)
d = DIM(b)
PRINT d(0); d(1); d(2); d(5)
d = DIM(nosuch)
PRINT d(0); d(1)
s$ = "12345"
LSET s$ = "ab"
PRINT "["; s$; "]"
s$ = "12345"
RSET s$ = "ab"
PRINT "["; s$; "]"
RSET s$ = "abcdefg"
PRINT "["; s$; "]"
e$ = ""
LSET e$ = "abc"
PRINT "["; e$; "]"
h$ = "HELLO WORLD"
MID$(h$, 7) = "THERE!"
PRINT h$
h$ = "HELLO WORLD"
MID$(h$, 7, 2) = "XYZ"
PRINT h$
MID$(h$, 12) = "Q"
MID$(h$, 1e300) = "Q"
MID$(h$, 1, 1e300) = "j"
PRINT h$
m$(1) = "element"
MID$(m$(1), 1, 2) = "EL"
PRINT m$(1)
DIM t(9)
t = expanddatetime(86400 * 365 + 3600 * 5 + 61.5)
PRINT t(0); t(1); t(2); t(3); t(4); t(5); t(6); t(7); t(8)
DIM hx$(2), dx$(1)
hx$ = hexconvert(long(2) ^ 100)
PRINT hx$(0); "|"; hx$(1); "|"
dx$ = long(1) / 7
PRINT dx$(0)
c$ = 3 + 4
