// DEBUG and TRACE switched on in the middle of a loop: the statements that
// already ran print what they do from then on, as on their first run.
DIM a(4)
FOR i = 1 TO 3
  a(i) = i * 2 + y
  IF i = 2 THEN DEBUG
  IF i = 3 THEN DEBUG OFF
NEXT
PRINT a(3)
FOR i = 1 TO 2
  z = a(i) + LEN("ab")
  IF i = 1 THEN DEBUG TRACE
NEXT
DEBUG TRACE OFF
PRINT z
