run run_stepping.bas
print "immediate"; a
a = 10

cont
run debugstep.bas

print a

print "typed after the stepped run"
run trace.bas

