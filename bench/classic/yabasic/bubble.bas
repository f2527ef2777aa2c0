rem Bubble sort of 2000 numbers
n = 2000
dim a(2001)
for i = 1 to n
a(i) = i * 7919 - int(i * 7919 / n) * n
next i
for i = 1 to n - 1
for j = 1 to n - i
if a(j) > a(j + 1) then
t = a(j): a(j) = a(j + 1): a(j + 1) = t
endif
next j
next i
print a(1), " ", a(1000), " ", a(2000)
