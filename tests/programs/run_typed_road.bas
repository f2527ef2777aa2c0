print "program runs"
end
100 print "subroutine 100, n ="; n
n = n + 1
return
200 print "line 200"
print "last program line"
