REM A smoothed curve on a logarithmic vertical axis over a coloured background.
GRAPH vscaletype=log, bgcolor=(255,255,200), nogrid
PLOT color=(0,0,255), smooth=5, lineweight=4
FOR i = 1 TO 9
  PLOT x=i, y=10^(i/3)
NEXT
PRINT "plotted"
REM expect x=3 y=10 color=ff0000
REM expect x=6 y=10 color=c8ffff
