// Functions whose body is a GOSUB, called in loops: blanks and case in the
// body, DEBUG switched on inside the subroutine, a body with more behind the
// number, and calls nested until FOR, WHILE and GOSUB are nested too deep.
DEF sq(x) = gosub   500   
DEF both(x) = GOSUB 500 : PRINT "after"; x
DEF deep(n) = GOSUB 600
FOR i = 1 TO 3
  PRINT sq(i); both(i)
NEXT
FOR i = 1 TO 2
  PRINT sq(i + 10)
NEXT
PRINT deep(1)
END
500 IF x = 2 THEN DEBUG
    IF x = 3 THEN DEBUG OFF
    RETURN x * x
600 FOR a=1 TO 1:FOR b=1 TO 1:FOR c=1 TO 1:FOR d=1 TO 1:FOR e=1 TO 1:FOR f=1 TO 1:FOR g=1 TO 1:FOR h=1 TO 1:FOR i=1 TO 1:FOR j=1 TO 1:FOR k=1 TO 1:FOR l=1 TO 1:FOR m=1 TO 1:FOR o=1 TO 1:FOR p=1 TO 1:FOR q=1 TO 1
    IF n < 190 THEN r = deep(n + 1)
    NEXT:NEXT:NEXT:NEXT:NEXT:NEXT:NEXT:NEXT:NEXT:NEXT:NEXT:NEXT:NEXT:NEXT:NEXT:NEXT
    RETURN n
