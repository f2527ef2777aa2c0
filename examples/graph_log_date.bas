REM Growth over a year: days on a date axis, the amount on a logarithmic one.
start = MAKEDATETIME(1, 1, 2026)
GRAPH hscaletype=datetime, vscaletype=log, includexaxis=0, includeyaxis=0
PLOT color=(0,128,0), lineweight=2
FOR d = 0 TO 360 STEP 5
  PLOT x=start + d*86400, y=100*1.01^d
NEXT
PRINT "growth plotted on date and log axes"
