run run_stepping.bas
print "immediate"; a
a = 10
run run_stepping.bas

cont
run debugstep.bas

print a

print "typed after the stepped run"
run trace.bas

