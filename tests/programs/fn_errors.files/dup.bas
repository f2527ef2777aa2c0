DEF a(x) = 1
DEF b(x) = 2
DEF a(y) = 3
