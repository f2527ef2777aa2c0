// PRINT # lays out file lines like the screen: zones, TAB, ";" and ","
x = 5
open "output", 1, "layout.txt"
print #1, "a", "b"; "c"
print #1, x; "|"
print #1, "open";
print #1, " continued"
print #1, "t"; tab(6); "u"; tab(2); "v"
print #1,
write #1, 1, "q"
close 1
open "input", 1, "layout.txt"
for i = 1 to 7
  line input #1, a$
  print "["; a$; "]"
next
close 1
