open "output", 1, "/dev/full"
for i = 1 to 5000
  print #1, "a line that fills the stream buffer until it has to be written"
next
print "not reached"
