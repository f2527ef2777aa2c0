for i = 1 to 3
if i = 2 then goto 10
next
10 print "out"
