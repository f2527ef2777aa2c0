// INKEY$ at the end of the input ends the run with a clear error
k$ = inkey$
print "never"
