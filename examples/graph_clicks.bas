REM Click into the graph to mark points; Shift and Ctrl show in keystate.
REM Any key typed into the graph window is reported; q ends the program.
GRAPH
PLOT color=(255,0,0)
PLOT x=0, y=0
PLOT x=10, y=10
PRINT "click into the graph, q to quit"
done = 0
WHILE done = 0
  e = checkmouseclick
  IF e = -2 THEN PRINT "click at"; mousexcoord; mouseycoord; " keystate"; keystate
  IF e = -2 THEN SHAPE ellipse, center=(mousexcoord, mouseycoord), radius=0.3, fillcolor=(0,0,255)
  IF e < -2 THEN PRINT "key"; -e
  IF e = -113 THEN done = 1
WEND
PRINT "bye"
