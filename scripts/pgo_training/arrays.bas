// Arrays: an insertion sort, a matrix product, prime counting with a table
n = 1500
DIM a(n + 1), b(21, 21), c(21, 21), d(21, 21), p(20001)
FOR i = 1 TO n
  a(i) = (i * 7331) - INT(i * 7331 / 1009) * 1009
NEXT
FOR i = 2 TO n
  v = a(i)
  j = i - 1
  moving = 1
  WHILE moving
    moving = 0
    IF j >= 1 THEN IF a(j) > v THEN a(j + 1) = a(j): j = j - 1: moving = 1
  WEND
  a(j + 1) = v
NEXT
PRINT a(1); a(250); a(500)
FOR i = 1 TO 20
  FOR j = 1 TO 20
    b(i, j) = i + j
    c(i, j) = i - j
  NEXT
NEXT
FOR i = 1 TO 20
  FOR j = 1 TO 20
    t = 0
    FOR k = 1 TO 20
      t = t + b(i, k) * c(k, j)
    NEXT
    d(i, j) = t
  NEXT
NEXT
PRINT d(1, 1); d(20, 20)
count = 0
FOR i = 2 TO 20000
  IF p(i) = 1 THEN GOTO 200
  count = count + 1
  FOR k = i * 2 TO 20000 STEP i
    p(k) = 1
  NEXT
200 NEXT
PRINT count
END
