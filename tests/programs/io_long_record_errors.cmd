long x
open "input", 1, "bad.txt"
input #1, x
line input #1, l$
input #1, x
input #1, x
input #1, x
input #1, x
print x
input #1, x
close

