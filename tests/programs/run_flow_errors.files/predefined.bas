pi = 3
