// A subroutine called from inside a loop runs outside that loop: its own
// loops take its BREAK, and a BREAK of its own is refused.
for i = 1 to 3
  gosub 100
  print "caller pass"; i
next
print "caller loop ran"; i - 1; "passes"
for i = 1 to 2
  gosub 200
  goto 20
200 print "sub";
  if i = 2 then break
  return
20 next
print "not reached"
end
100 for j = 1 to 5
  if j = 3 then break
next
print "sub loop stopped at"; j
return
