DEF sin(x) = 1
