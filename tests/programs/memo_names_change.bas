// The same statements run again after what their names mean has changed:
// a variable created after the first pass, an array of the same name made
// later, DIM after ERASE with the arrays moved, CLEAR between passes.
FOR pass = 1 TO 3
  IF pass = 2 THEN late = 7
  PRINT pass; late; pass * late
  IF pass = 2 THEN GOSUB 900
  IF pass = 3 THEN PRINT other(1); late
NEXT
FOR pass = 1 TO 4
  DIM first(2), second(2)
  first(1) = pass: second(1) = pass * 10
  PRINT first(1); second(1); first(1) + second(1)
  IF pass / 2 <> INT(pass / 2) THEN ERASE first ELSE ERASE second
  IF pass / 2 <> INT(pass / 2) THEN PRINT second(1) ELSE PRINT first(1)
  ERASE first, second
NEXT
FOR pass = 1 TO 2
  v = pass * 3
  PRINT "v ="; v
NEXT
n$ = "text"
FOR pass = 1 TO 3
  PRINT n$; pass
  IF pass = 2 THEN n$ = n$ + "!"
NEXT
END
900 DIM other(3): other(1) = 11: RETURN
