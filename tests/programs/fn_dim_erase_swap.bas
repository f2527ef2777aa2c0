// DIM gives n elements, 0 to n-1; ERASE removes arrays by exact name; SWAP
// exchanges variables and elements of every kind.
DIM a(3), m$(2, 2)
a(0) = 1: a(2) = 3
m$(1, 1) = "mid"
PRINT a(0); a(1); a(2); m$(1, 1)
LONG big(2), one, two
big(0) = long(2) ^ 70: one = 1: two = long(3) / 7
ERASE a, big, notanarray, m$
DIM a(1), big(1)
PRINT a(0); big(0)
x = 1: y = 2
SWAP x, y
PRINT x; y
a(0) = 10
SWAP a(0), x
PRINT a(0); x
p$ = "first": DIM q$(1): q$(0) = "second"
SWAP p$, q$(0)
PRINT p$; " "; q$(0)
SWAP one, two
PRINT one; " "; two
ERASE a
a(0) = 5
