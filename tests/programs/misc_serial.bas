REM a port nobody reads takes lines until it is full; the stalled write ends with an error
OPEN "serial", 1, "/dev/ptmx"
FOR i = 1 TO 100000
PRINT #1, STRING$(79, "x")
NEXT
PRINT "not reached"
