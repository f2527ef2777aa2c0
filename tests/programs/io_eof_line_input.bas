// LINE INPUT at the end of the input ends the run with a clear error
line input a$
print "never"
