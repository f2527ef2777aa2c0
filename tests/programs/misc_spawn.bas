REM SPAWN starts a program with its parameters as separate arguments (a part
REM in double quotes is one argument) in the folder given; it does not wait
SPAWN "touch", "first.txt " + CHR$(34) + "second one.txt" + CHR$(34), "out"
REM a program found in a relative folder runs in that folder
SPAWN "mark.sh", "marked.txt", "tools"
REM a relative path is taken from the current folder
SPAWN "tools/mark.sh", "here.txt"
f$ = "out/first.txt": GOSUB 100
f$ = "out/second one.txt": GOSUB 100
f$ = "tools/marked.txt": GOSUB 100
f$ = "here.txt": GOSUB 100
REM nothing starts in a false IF branch
IF 1 = 2 THEN SPAWN "touch", "skipped.txt"
DELAY 300
PRINT "skipped.txt"; OPEN("input", 1, "skipped.txt")
END
REM waits up to five seconds for the file f$ to appear
100 r = -1: k = 0
WHILE r <> 0 AND k < 50
r = OPEN("input", 1, f$)
IF r <> 0 THEN DELAY 100
k = k + 1
WEND
IF r = 0 THEN CLOSE 1
PRINT f$; r
RETURN
