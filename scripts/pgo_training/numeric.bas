// Numeric loops: a series for pi, Collatz chain lengths, a WHILE search
s = 0
FOR k = 0 TO 150000
  s = s + 4 * (1 - 2 * (k - INT(k / 2) * 2)) / (2 * k + 1)
NEXT
PRINT INT(s * 10000)
longest = 0
FOR n = 1 TO 10000
  m = n
  c = 0
  WHILE m > 1
    IF m / 2 = INT(m / 2) THEN m = m / 2 ELSE m = 3 * m + 1
    c = c + 1
  WEND
  IF c > longest THEN longest = c: best = n
NEXT
PRINT best; longest
x = 1
i = 0
WHILE x < 1E+12
  x = x * 1.5 + SQR(x) - ABS(SIN(i))
  i = i + 1
WEND
PRINT i
END
