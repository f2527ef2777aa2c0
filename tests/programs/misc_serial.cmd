OPEN "serial", 1, "/dev/ptmx", 80, 19200, "even", 2
PRINT #1, "hello"; 5
PRINT #1, STRING$(80, "y")
PRINT #1, STRING$(81, "x")
k = INPUT(1): PRINT "waiting:"; k
INPUT #1, a$
OPEN "serial", 1, "/dev/ptmx"
CLOSE 1
PRINT #1, "closed"
OPEN "serial", 1, "/dev/ptmx", 80, 256001
OPEN "serial", 1, "/dev/ptmx", 80, 9600, "none"
OPEN "serial", 1, "/dev/ptmx", 80, 9600, "odd", 3
OPEN "serial", 2, "/no/such/port"
OPEN "serial", 2, "/dev/null"
OPEN "serial", 2, "/dev/ptmx", 4, 0, "Space", 1.5: PRINT #2, "abcd": PRINT "opened"
PRINT #2, "abcde"
CLOSE 2
IF 1 = 2 THEN OPEN "serial", 3, "/dev/ptmx": PRINT #3, "x"
p$ = BROWSECOMMPORTS$("pick")
run misc_serial.bas

