REM A red plot line across the default graph.
GRAPH
PLOT color=(255,0,0), lineweight=3
FOR i = 0 TO 5
  PLOT x=i, y=2
NEXT
PRINT "plotted"
REM expect x=2.7 y=2 color=0000ff
REM expect x=2.7 y=1.3 color=ffffff
