for a$ = 1 to 2
next
