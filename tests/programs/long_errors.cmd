float 10
float 1000001
float 11
long a, b
a = 5
b = 0
print a / b
print a % b
integer
print a / b
float
a = 1.0000000000000000e999999
print a / 1.0000000000000000e-999999
b = a * a
print b


