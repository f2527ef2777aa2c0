// INPUT at the end of the input ends the run with a clear error, also
// inside the redo loop
input "Two values"; a, b
print "never"
