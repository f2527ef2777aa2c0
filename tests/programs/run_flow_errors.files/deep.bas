10 x = x + 1
gosub 10
