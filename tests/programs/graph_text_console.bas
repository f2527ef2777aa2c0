rem TEXT in a branch that is skipped makes nothing; an executed one needs a graph
for i = 1 to 3
  if i > 5 then text string="never", h=10
next
print "skipped"
text string="shown", h=10
print "not reached"
