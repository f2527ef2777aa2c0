// Statements run again and again in loops while what they depend on moves:
// the keyword behind an IF, the number behind GOSUB and GOTO, a RETURN with
// nothing behind it, and the parameters of user functions, with DEBUG
// switched on and off in the middle of the loops.
DEF fib(n) = GOSUB 600
DEF twice(n, s$) = GOSUB 700
DEF g(m) = GOSUB 800
DEF t(n) = GOSUB 660
c = 0
FOR i = 1 TO 6
  IF i / 2 = INT(i / 2) THEN c = c + 1 ELSE c = c + 10
  IF i = 3 GOTO 40
  GOSUB 500
40 IF i = 4 THEN DEBUG
  IF i = 5 THEN DEBUG OFF
NEXT
PRINT "c ="; c
FOR i = 1 TO 4
  PRINT fib(i + 1); twice(i, "ab")
  IF i = 2 THEN DEBUG
  IF i = 3 THEN DEBUG OFF
NEXT
PRINT fib(12)
// The subroutine of fib run by GOSUB itself: n is then the variable.
n = 1: GOSUB 650: PRINT "n ="; n
n = 7: GOSUB 600: PRINT "n ="; n
// The same expression with n the variable, then the parameter.
FOR k = 1 TO 2
  GOSUB 660
  PRINT t(k + 10)
NEXT
FOR k = 1 TO 3
  ON k GOSUB 510, 520, 530
  IF k = 1 THEN DEBUG
  IF k = 2 THEN DEBUG OFF
NEXT
// Numbers given as text.
PRINT VAL(MID$("abcdef", "2", "3") + "7"); MID$("abcdef", "+3"); LEFT$("abc", "-0"); LEFT$("xyz", "+2"); RIGHT$("xyz", " 1")
PRINT MID$("abcdef", "002"), CHR$("65"); CHR$("066"); LEFT$("abc", "1.0")
// An array made with the name of a parameter: the name is the array then.
FOR k = 1 TO 2
  PRINT g(k);
NEXT
DIM m(2)
PRINT g(3)
END
500 c = c + 100
    GOSUB 550 : RETURN
510 PRINT "one";: RETURN   
520 PRINT " two";: RETURN    : REM blanks before the colon
530 PRINT " three": RETURN
550 c = c + 1000
    RETURN
600 IF n < 2 THEN RETURN n
610 RETURN fib(n - 1) + fib(n - 2)
650 n = n + 41
    RETURN
660 RETURN n * 3 + 1
700 RETURN n * LEN(s$) + fib(n)
800 RETURN m * 2
