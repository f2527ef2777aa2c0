// User functions: one-line definitions and recursive ones
DEF sq(x) = x * x
DEF hyp(a, b) = SQR(sq(a) + sq(b))
DEF gcd(a, b) = GOSUB 500
DEF fact(n) = GOSUB 600
s = 0
FOR i = 1 TO 60000
  s = s + hyp(i, i + 1) + gcd(i * 6, 84)
NEXT
PRINT INT(s)
f = 0
FOR i = 1 TO 6000
  f = f + fact(12)
NEXT
PRINT f
END
500 IF b = 0 THEN RETURN a
510 RETURN gcd(b, a - INT(a / b) * b)
600 IF n < 2 THEN RETURN 1
610 RETURN n * fact(n - 1)
