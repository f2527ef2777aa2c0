// A FOR passed over whose control is an element of an array not yet made,
// in a function body whose parameter the statement before read: no error.
DEF f(n) = GOSUB 600
PRINT f(3)
END
600 PRINT n
IF 0 THEN FOR q(1) = 1 TO 3 : NEXT
RETURN 7
