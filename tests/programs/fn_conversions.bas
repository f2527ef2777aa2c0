// Assignment conversions between doubles, strings, numeric text and long numbers.
x = "12.5"
y = " -3e2"
z = long(1) / 4
w = 12345678901234567890123
PRINT x; y; z; w
LONG a, b, c
a = 2.5
b = val("7")
c = 12345678901234567890123
PRINT a; " "; b; " "; c
s$ = long(10) ^ 30
t$ = "text"
u$ = t$ + "!"
PRINT s$; " "; len(s$); " "; u$
DIM d(2), e$(2)
d(1) = "4.25"
e$(1) = long(2) ^ 10
PRINT d(1); " "; e$(1)
LONG n(2)
n(1) = 0.5
PRINT n(1)
b = "7"
