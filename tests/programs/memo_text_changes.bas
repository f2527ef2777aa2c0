// CHAIN into a program whose names stand at the same places of the text but
// mean other things; the session then types lines and loads programs that
// define the same function otherwise (memo_text_changes.cmd).
x = 1: DIM q(3): q(1) = 100: q(2) = 200
FOR i = 1 TO 2
  PRINT "one"; x * i
NEXT
CHAIN "chain_two.bas", "KEEPDATA"
