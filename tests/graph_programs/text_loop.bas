REM A graph relabelled in a loop: every pass adds a text given as a literal,
REM many more than there is room for variables.
GRAPH width=7.5, height=10, hscale=1, vscale=1, hoffset=0, voffset=0
PLOT color=(255,0,0), lineweight=3
PLOT x=0, y=1
PLOT x=9, y=1
FOR i = 1 TO 600
  TEXT string="label", x=i / 100, y=5 + i / 300, size=8, justify=center
NEXT
TEXT string="Time", xaxis, size=12
PRINT "plotted"
REM expect x=4.5 y=1 color=0000ff
REM expect x=4.5 y=0.5 color=ffffff
