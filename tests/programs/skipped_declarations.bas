// Declarations that are passed over after they ran: the body of a loop is
// read again, without running, after its last pass, and a false IF passes
// over the rest of its line. The array or long variable an earlier pass
// made is no error then; a declaration that runs again still is.
FOR pass = 1 TO 2
  DIM z(4)
  LONG w(3)
  z(pass) = pass * 10
  PRINT "pass"; pass; z(1); z(2)
  ERASE z, w
NEXT
FOR pass = 1 TO 1
  LONG y
  y = 2 / 3
NEXT
PRINT y
DIM z(2)
LONG w(3)
IF 0 THEN DIM z(2): LONG y, w(3)
PRINT "still here"
DIM z(2)
