rem printing long numbers in both modes; exponents stay in range
long x, y
integer
x = 12345678901234567 * 10000000000000000001
float 11
print x
x = 1.0000000000000000e49
print x
integer
x = 0.5
print x
x = -0.5
print x
float 20
y = 1.0000000000000000e1000000
for i = 1 to 10
  y = y * y
  print i
next
