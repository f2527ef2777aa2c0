// User-defined functions: both forms, recursion with a frame per call,
// string and long parameters, calls before the DEF line.
PRINT twice(21)
DEF s(x) = GOSUB 500
DEF fib(n) = GOSUB 600
DEF sq(x) = x * x
DEF f$(a$, n) = LEFT$(a$, n) + "!"
DEF twice(x) = sq(x) / x * 2
DEF g(x) = GOSUB 700
DEF both(a, b) = a * 10 + b
PRINT s(3); s(10)
PRINT fib(10)
PRINT sq(3); sq(); sq(sq(2))
PRINT f$("hello", 2)
x = 100
PRINT g(4); x; both(1, 2); both(3)
PRINT sq(long(12345678901234567890))
END
500 IF x <= 0 THEN RETURN 0
510 RETURN s(x - 1) + x
600 IF n < 2 THEN RETURN n
610 RETURN fib(n - 1) + fib(n - 2)
700 RETURN x * 2
