// Assignments run pass after pass while what they meet changes: MATHERROR
// set by a division let through by MATHERROK and cleared by the next
// assignment; the temporary strings the literals of a target's subscripts
// and of a right side take (PRINTALL shows the peak); a comparison assigned;
// an element target whose subscript leaves its range on the last pass.
DIM a(4), b(3, 3)
DEBUG MATHERROK
z = 1
FOR i = 1 TO 3
  y = 5 / z
  PRINT MATHERROR;
  a(i) = i * 2 + 0.25
  PRINT MATHERROR; a(i); y
  z = 0
NEXT
DEBUG MATHERROK OFF
FOR i = 1 TO 3
  b(i - 1, 2) = 1234567 + i
  t = b(i - 1, 2) > 1234568
  PRINT b(i - 1, 2); t
NEXT
PRINTALL
FOR i = 2 TO 6
  a(i) = a(i - 1) - 1
  PRINT a(i);
NEXT
