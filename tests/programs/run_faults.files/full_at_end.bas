open "output", 2, "/dev/full"
print #2, "lost text"
print "the run ends with the file open"
