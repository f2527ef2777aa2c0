// Special names in console mode
long a, b, q
a = longpi
print a
integer
a = 17
b = 5
q = a / b
print "quotient "; q; " remainder "; remainder
float
print checkdegrees
degrees
print checkdegrees
radians
print matherror
print starttimer; endtimer >= 0
print checkmouseclick
if 1 = 0 then k$ = inkey$
print "no wait"
f$ = choosefont$
print "not reached"
