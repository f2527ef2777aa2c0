// An array element read in the same expression as a user-function call whose
// body erases and dimensions another array: the arrays behind the erased one
// move, and the element must still be read from its own array. Once with the
// element before the call, once behind a call that erases only on its
// second pass.
DIM b(2), a(2)
DEF g(x) = GOSUB 900
FOR i = 1 TO 3 : PRINT a(1) + g(0) : NEXT
DIM d(2), c(2)
c(1) = 5
DEF h(x) = GOSUB 950
FOR i = 1 TO 3 : PRINT h(i) + c(1) : NEXT
END
900 ERASE b: DIM b(2): b(1) = 100: RETURN x
950 IF x = 2 THEN ERASE d: DIM d(2): d(1) = 100
    RETURN x
