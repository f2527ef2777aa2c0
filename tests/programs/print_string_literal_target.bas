// PRINT % takes a string variable (made when new) or element; a literal is
// no target, and the variable an earlier item read keeps its text.
print %fresh$; "made"
print "["; fresh$; "]"
a$ = "original"
print a$
print %"lit"; "hello"
print "never"
