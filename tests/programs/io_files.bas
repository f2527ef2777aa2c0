// Sequential files: write, append, read back values and lines, EOF loop
open "output", 1, "data.txt"
x = 1.5
print #1, "first line"
write #1, x, "quote\"d", -2
t = 10
print #1, t; t * 2;
print #1, t * 3
write #1, t, t * 2
close 1
open "append", 1, "data.txt"
print #1, "appended"
close 1
open "input", 1, "data.txt"
print "size"; filesize(1)
line input #1, a$
print a$
input #1, v, s$, w
print v; s$; w
line input #1, a$
print a$
input #1, p, q
print p + q
print "kind"; input(1)
while eof(1) = 0
  line input #1, a$
  print "line: "; a$
wend
close
// the OPEN function reports nothing of its own
print open("input", 2, "nothing-here.txt"); open("inp", 2, "data.txt")
// RANDOM records with FIELD
field #3, 4 as space$, 6 as name$
open "random", 3, "rec.dat", 10
lset name$ = "alpha"
put #3
lset name$ = "beta"
put #3, 3
close 3
open "random", 3, "rec.dat", 10
get #3, 3
print "["; name$; "]"
get #3, 1
print "["; name$; "]"
get #3
print "["; name$; "]"
close 3
// a long number travels as a "Length=" record
long big, back
float 60
big = 123456789012345678901234567890.123456789012345678901
open "output", 4, "long.txt", 40
write #4, big, "after"
close 4
open "input", 4, "long.txt"
input #4, back, tail$
print back = big; tail$
close 4
// binary files keep every byte
open "output binary", 5, "raw.bin", 20
print #5, "a\\0b\\nc"
close 5
open "input binary", 5, "raw.bin", 4
line input #5, r$
print r$
line input #5, r$
print r$
close 5
open "random", 3, "rec.dat", 10
get #3, 5
