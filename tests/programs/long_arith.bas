rem long numbers end to end: precision, arithmetic, comparisons, modes
float 60
long a, b, c, d
a = 2
b = a / 3
print b
print -b
c = 12345678901234567890 * 98765432109876543210
print c
d = 1
print d / 7 + d / 7
print d * 100 - 1e-70
print a - 5
if b < 1 then print "b below one"
if c > 1e39 then print "c above 1e39"
if a = 2 then print "a is two"
d = 7.5
print d % 2
d = -10
print d % 3
float 11
b = a / 3
print b
debug truncate
b = a / 3
print b
debug round
integer
a = 100
b = a / 7
print b, remainder
a = -100
b = a / 7
print b, remainder
c = 10000000000000000000000000000000000000000
print c / 100000000000000000000
print 123456789012345678901234567890 * 987654321098765432109876543210
float
d = 1
print d / 4
