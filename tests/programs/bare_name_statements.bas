// ERASE and SORT with no name after them: no array is named, whatever text
// an earlier statement left behind.
DIM keep(3)
keep(1) = 42
a$ = "keep"
ERASE
PRINT keep(1)
b$ = "keep"
SORT
PRINT "never"
