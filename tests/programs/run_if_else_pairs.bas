// Each ELSE pairs with the innermost IF of its line that has no ELSE yet
for a = 0 to 1
  for b = 0 to 1
    print a; b;
    if a then if b then print "x" else print "y" else print "z"
  next
next
for a = 0 to 1
  for b = 0 to 1
    print a; b;
    if a then print "a"; else if b then print "b" else print "neither"
    if a then if b then print " both"
    if a then print
  next
next
if 1 then if 0 then print "wrong" else if 1 then print "third level" else print "wrong"
