run run_stepping.bas
print "immediate"; a
a = 10

cont

