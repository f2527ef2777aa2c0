DEF 5(x) = 1
