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
// longe, and cossame: the cosine computed along with the last long SIN
long e, s, c
float 30
e = longe
print e
s = 1
s = sin(s)
c = cossame
print c
print s * s + c * c
// the program runs from its own folder, which is also the working folder
print workingdir$ = programdir$; len(workingdir$) > 1
// matherror tells whether the latest assignment failed under MATHERROK
debug matherrok
x = 1
y = x / 0
print matherror
y = 2
print matherror
debug matherrok off
f$ = choosefont$
print "not reached"
