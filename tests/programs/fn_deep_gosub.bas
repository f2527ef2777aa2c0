// The subroutine form recursing through nested parentheses: a refused call.
DEF g(n) = GOSUB 500
DEF c(n) = GOSUB 600
PRINT c(190)
PRINT "start"
PRINT g(1)
PRINT "not reached"
END
500 RETURN ((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((g(n + 1)))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))
600 IF n <= 0 THEN RETURN 0
610 RETURN (((c(n - 1)))) + 1
