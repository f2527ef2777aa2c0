// Lone literals assigned on every pass, to variables and elements, beside
// values that come another way: a READ after them, a literal in parentheses,
// a literal in a string, a number longer than the remembered ones.
DIM a(5)
FOR i = 1 TO 3
  x = 7
  a(i) = 12
  y = (9)
  READ z
  a(i + 1) = 0
  s$ = "5"
  w = 123456789
  v = 1234567890123
  PRINT x; a(i); y; z; a(i + 1); s$; w; v
  x = x + i
NEXT
DATA 1.5, 2, 3E2
