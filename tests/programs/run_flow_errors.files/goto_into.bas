goto 10
for i = 1 to 2
10 print i
next
