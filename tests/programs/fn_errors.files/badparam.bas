DEF f(x, 5) = 1
