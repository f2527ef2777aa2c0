// WRITE # then INPUT # brings back quotes, backslashes, CR and LF unchanged
a$ = "say \"hi\"" + chr$(92) + "path" + chr$(13) + "cr" + chr$(10) + "lf"
b$ = chr$(92) + chr$(92) + "," + chr$(34)
x = 1 / 3
open "output", 1, "rt.txt"
write #1, a$, x, b$
write #1, "", -2.5
close 1
open "input", 1, "rt.txt"
line input #1, l$
print l$
line input #1, l$
print l$
close 1
open "input", 1, "rt.txt"
input #1, c$, y, d$
print c$ = a$; len(c$); y = x; d$ = b$; len(d$)
input #1, e$, z
print "["; e$; "]"; z; eof(1)
close 1
for i = 1 to len(c$)
  print asc(mid$(c$, i, 1));
next
print
// LINE INPUT # keeps blanks and reads empty lines; INPUT # skips them
open "output", 2, "blanks.txt"
print #2, "   lead and trail   "
print #2, ""
print #2, "  7 , 8  "
print #2,
close 2
open "input", 2, "blanks.txt"
line input #2, l$
print "["; l$; "]"
line input #2, l$
print "["; l$; "]"; eof(2); eof(2, "line")
input #2, p, q
// only an empty line is left: another line exists, but no further value
print p; q; eof(2, "line")
print eof(2)
close
