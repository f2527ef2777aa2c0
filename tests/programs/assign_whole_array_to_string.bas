// A whole array assigned to a string is refused with no stale "Answer" line.
DIM b(5)
x = 3
a$ = b
