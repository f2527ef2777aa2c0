// Keyboard INPUT in console mode: prompts, the redo loop, LINE INPUT
input "Two numbers"; a, b
print "sum"; a + b
input c$
print "c$="; c$
line input "Line: "; l$
print "["; l$; "]"
print "open line";
input z
print "z ="; z
