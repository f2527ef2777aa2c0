// Long numbers: a loop of long arithmetic at 200 digits, comparisons and
// long functions, as programs that compute with long numbers spend their time
float 200
long a, b, c, d
a = 1
b = 0
FOR i = 1 TO 100000
  c = a / 7
  b = b + c * c - a
  a = a + 1
  IF b < 0 THEN d = -b ELSE d = b
NEXT
PRINT d
a = 2
FOR i = 1 TO 40
  c = SQR(a + i)
  d = d + c * c
NEXT
PRINT d
END
