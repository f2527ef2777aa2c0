rem Sieve of Eratosthenes, twenty passes over 100000 numbers
n = 100000
dim f(100001)
for p = 1 to 20
c = 0
for i = 2 to n
f(i) = 1
next i
for i = 2 to n
if f(i) = 0 goto l150
c = c + 1
if i + i > n goto l150
for k = i + i to n step i
f(k) = 0
next k
label l150
next i
next p
print c
