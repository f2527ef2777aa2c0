// WRITE quoting and numbers; PRINT to a string variable
q$ = chr$(34)
write 1, "a" + q$ + "b", 1/3, "tab" + chr$(92) + "x"
write "line" + chr$(10) + "feed", 2.5
write
s$ = "old"
print %s$; "abc"; 12; 7 * 2
print "["; s$; "]"
print %s$, 1, "z"
print "["; s$; "]"
print %s$; "part one ";
print %s$; "part two"
print "["; s$; "]"
print %s$; string$(200, "a"); string$(100, "b")
print len(s$)
dim e$(3)
print %e$(2); "element"; 5 * 2
print "["; e$(2); "]"
n = 4
print %n; "x"
