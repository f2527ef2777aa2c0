// The temporary strings an element's literal subscripts take count in the
// peak PRINTALL shows, as when the subscripts are evaluated anew, also when
// the element is read at a higher level than before.
DIM a(5)
a(3) = 65
s$ = ""
FOR i = 1 TO 3
  y = (s$ < CHR$(a(100000000 - 99999999 + 100000000 - 99999998)))
  s$ = s$ + "01234"
NEXT
PRINT y
PRINTALL
