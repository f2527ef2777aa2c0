// Long numbers of 1, 200 and 10,000 digits travel through a file as
// "Length=" records and come back with every digit
long a, b, c, x, y, z, t
float 10020
a = 7
t = 10
b = -(t ^ 196 + 0.5)
c = (t ^ 10000 - 1) / 9
open "output", 1, "long.txt"
write #1, a, "mid", b
write #1, c, 42
close 1
// the 200-character record: a header line, two pieces of 78 and one of 44
open "input", 1, "long.txt"
for i = 1 to 6
  line input #1, l$
  print len(l$); " "; left$(l$, 12)
next
close 1
open "input", 1, "long.txt"
input #1, x, m$, y
input #1, z, n
print x = a; m$; y = b; z = c; n
print y
print eof(1)
close
