rem long arithmetic from a program at 11, 50, 100 and 1000 digits
long a, b, c, d, q
float 11
gosub 100
float 50
gosub 100
float 100
gosub 100
float 1000
gosub 100
goto 900
100 a = 2
b = a / 3
print b
c = 123456789.123456789
d = c * c
print d
print d - c * c
q = 1
q = q / 7 + q / 9
print q
print c / 1e-30
print q * 7 - 1
if b < 0.66666666667 then print "b below .66666666667"
return
900 print "done"
