// Sorting: a selection sort and a shell sort of pseudo-random numbers, with
// the swaps written on the IF's line
n = 2000
DIM v(n + 1), w(n + 1)
seed = 12345
FOR i = 1 TO n
  seed = seed * 1103 + 12345 - INT((seed * 1103 + 12345) / 65536) * 65536
  v(i) = seed
  w(i) = n - i + seed / 65536
NEXT
FOR i = 1 TO n - 1
  m = i
  FOR j = i + 1 TO n
    IF v(j) < v(m) THEN m = j
  NEXT
  IF m <> i THEN t = v(i): v(i) = v(m): v(m) = t
NEXT
PRINT v(1); v(1000); v(2000)
gap = INT(n / 2)
WHILE gap > 0
  FOR i = gap + 1 TO n
    j = i
    WHILE j > gap
      IF w(j - gap) > w(j) THEN t = w(j): w(j) = w(j - gap): w(j - gap) = t: j = j - gap ELSE j = 0
    WEND
  NEXT
  gap = INT(gap / 2)
WEND
PRINT INT(w(1)); INT(w(2000))
total = 0
FOR i = 1 TO 300
  FOR j = 1 TO 300
    total = total + i * j / 3 - j
  NEXT
NEXT
PRINT INT(total)
END
