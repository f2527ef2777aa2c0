run chain_to_failing.bas
print "after"
open "input", 1, "kept.txt"
line input #1, a$
print a$
close


