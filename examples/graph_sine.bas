REM A sine and a cosine curve over one period, in a window of their own.
GRAPH width=8, height=5
PLOT color=(255,0,0), lineweight=2
FOR i = 0 TO 100
  PLOT x=i/100*2*pi, y=SIN(i/100*2*pi)
NEXT
PLOT color=(0,0,255), lineweight=2
FOR i = 0 TO 100
  PLOT x=i/100*2*pi, y=COS(i/100*2*pi)
NEXT
PRINT "sine and cosine plotted"
