// INKEY$ in console mode reads one byte of the input
k$ = inkey$
print "key ["; k$; "]"
k$ = inkey$
print "key ["; k$; "]"
