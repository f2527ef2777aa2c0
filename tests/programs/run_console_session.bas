print "program start"
for i = 1 to 2
  print "loop"; i
next
end
100 print "subroutine 100"
return
200 print "line 200"
print "last line"
