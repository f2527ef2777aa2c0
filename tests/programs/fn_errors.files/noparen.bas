DEF f x = 1
