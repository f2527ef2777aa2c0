rem integer mode keeps every digit; sums at the precision's edge; text of fractions
long a, b, c, f, q
a = 1
b = 1e-60
print a + b
float 100
print a + b
float
c = 99999999
print c + 1
print c + 1 - c
f = -0.001
c = 90071992547409930 / 10
d = c
print d - 9007199254740992
integer
a = 0
b = 0
for i = 1 to 30
  a = a * 10000000000 + 1234567891
  b = b * 10000000000 + 9876543219
next
print a
print b
print a + b
print b - a - b
q = b / a
print q
print remainder
print f
print -f
s$ = f
print "["; s$; "]"
c = 12.9
print c / 4.2
print remainder
