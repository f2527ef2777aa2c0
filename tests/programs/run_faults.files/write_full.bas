open "output", 1, "/dev/full"
print #1, "lost text"
close 1
print "not reached"
