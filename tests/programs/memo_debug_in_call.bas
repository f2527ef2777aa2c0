// DEBUG switched on inside a GOSUB-form function that an expression evaluated
// before calls: the rest of the enclosing expression is shown as it runs.
DEF sq(x) = GOSUB 500
FOR i = 1 TO 3
  y = sq(i) + 1
  PRINT y
NEXT
END
500 IF x = 2 THEN DEBUG
    IF x = 3 THEN DEBUG OFF
    RETURN x * x
