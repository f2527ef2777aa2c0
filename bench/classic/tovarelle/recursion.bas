// Recursive user function: Fibonacci by definition
DEF fib(n) = GOSUB 600
PRINT fib(31)
END
600 IF n < 2 THEN RETURN n
610 RETURN fib(n - 1) + fib(n - 2)
