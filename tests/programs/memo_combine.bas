// Expressions of + - * / and comparisons evaluated twice: the first pass by
// the precedence passes, the second from memory in one pass. Both lines of
// each pair must be the same.
a = 7: b = 3: c = -2: d = 0.5: e = 4
FOR pass = 1 TO 2
  PRINT a + b * c - d / e; a - b - c - d - e; a * b / c * d / e; 1 + 2 * 3 - 4 / 5
  PRINT a + b < c * d; a < b < c; a - b = c - d + 4.5; a / b + c / d > e - 9; b * c + d
  PRINT a - b * c + d * e - 1 >= 2 * a; 10 - a - b + c * c * c; a / d / b
NEXT
