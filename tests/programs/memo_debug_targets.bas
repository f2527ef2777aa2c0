// DEBUG switched on by a function the right side of an assignment calls:
// the result line names the target as it was read, an element with its
// subscripts, a variable with its name as written.
DIM grid(5, 4)
DEF f(x) = GOSUB 900
FOR i = 1 TO 4
  grid(i, i - 1) = f(i) + 1
  Total = f(i + 4) * 2
NEXT
DEBUG OFF
PRINT grid(1, 0); grid(2, 1); grid(3, 2); grid(4, 3); Total
END
900 IF x = 3 OR x = 8 THEN DEBUG
910 IF x = 7 THEN DEBUG OFF
920 RETURN x * 10
