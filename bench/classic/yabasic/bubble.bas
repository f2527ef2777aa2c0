rem Bubble sort of 3600 numbers
n = 3600
dim a(3601)
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
print a(1), " ", a(1800), " ", a(3600)
