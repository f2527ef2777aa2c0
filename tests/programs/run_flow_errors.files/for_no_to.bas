for i = 1 2
next
