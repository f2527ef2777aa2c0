rem Nested loops with floating-point arithmetic
s = 0
for i = 1 to 10000
for j = 1 to 1000
s = s + i * j / 7 - j
next j
next i
print int(s / 1000000)
