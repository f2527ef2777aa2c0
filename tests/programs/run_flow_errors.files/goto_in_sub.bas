for i = 1 to 2
  gosub 100
next
print "subroutine jumps stay outside the loop"
end
100 goto 110
print "skipped"
110 print "sub goto"; i
return
