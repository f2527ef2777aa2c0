// The program chained to does not pass its pre-scan: the run ends once,
// with the error, and files the first program opened are closed.
OPEN "output", 1, "kept.txt"
PRINT #1, "line"
PRINT "a"
CHAIN "bad.bas"
