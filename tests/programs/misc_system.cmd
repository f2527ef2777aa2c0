HELP
HELP 0
HELP 16
DELAY 0
DELAY 20000
DELAY 150: PRINT "after the pause"
BEEP 5
BEEP ""
BEEP
CHDIR 5
SPAWN 3
SPAWN "x", 4
COLOR 14: COLOR -1: PRINT "colours only on a terminal"
IF 1 = 2 THEN CLS: COLOR 3: HELP: BEEP: SPAWN "no-such-program": CHDIR "/"
PRINT "nothing happened"
SPAWN "no-such-program-anywhere"
CHDIR "/"
CHDIR "/no/such/folder"
CLS

