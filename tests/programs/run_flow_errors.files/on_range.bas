on 256 goto 10
10 print "x"
