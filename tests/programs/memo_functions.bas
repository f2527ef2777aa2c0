// Built-in functions whose arguments are remembered, called again with new
// values, and an argument that fails on a later pass, reported at its place.
x = 9: y = 2
FOR i = 1 TO 4
  PRINT i; INT(x / y + i / 4); ABS(y - x * i); SQR(x * i); SGN(y - i); LEFT$("abcdef", i + 1)
NEXT
FOR i = 1 TO 3
  v = SQR(4 - i * 2) + 1
  PRINT "v"; v
NEXT
