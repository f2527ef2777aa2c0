// Parameters read by remembered expressions and items while calls run: a
// subroutine shared by definitions that hold its parameter at different
// positions, a definition called with a double and then a long, variables
// that no parameter is named like next to one that a parameter hides, a
// parameter of the enclosing call, parameters as the arguments of a built-in
// function and as subscripts, a DEF line run again between calls of its body,
// the statements behind a GOSUB body, and an expression body that ends on a
// division by zero once its expression is remembered.
DEF f(n) = GOSUB 620
DEF g(a, n) = GOSUB 620
DEF h(n, a) = GOSUB 600
DEF outer(k) = GOSUB 700
DEF inner(p) = k * 100 + p
DEF inv(x) = 12 / x
DEF hyp(a, b) = SQR(a * a + b * b) + v(b - a)
DIM v(5)
FOR i = 0 TO 4: v(i) = i * i: NEXT
DEF r(x) = GOSUB 800 : c = c + x : PRINT "r"; c;
w = 1: n = 1000: a = 5
FOR i = 1 TO 4
  PRINT f(i); g(i * 10, i); h(i, i * 10); sq(i); sq(LONG(i)); f(LONG(i))
  GOSUB 600: PRINT "n"; n; "a"; a
  w = w + 1
NEXT
FOR i = 1 TO 3
  PRINT outer(i);
  k = i * 7: PRINT inner(i); inner(k)
NEXT
FOR i = 1 TO 3
  DEF sq(x) = x * x + w
  PRINT sq(i + 0.5); g(2, i - 1) * f(i)
NEXT
FOR i = 1 TO 3
  PRINT r(i); hyp(i * 3, i * 4); hyp(i, i + 2); hyp(LONG(i), 5)
NEXT
FOR i = 3 TO 0 STEP -1
  PRINT inv(i)
NEXT
END
600 RETURN n * 2 + w - a
620 RETURN n * 3 + w
700 RETURN inner(k + 1) + k
800 c = c * 2 + x
    RETURN c
