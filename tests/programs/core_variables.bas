rem Variables, arrays and strings
print u; "["; u$; "]"
dim a(10), m(2,3), s$(4)
for i = 0 to 9
  a(i) = i * i
next
print a(9); a(9.7); a(0)
m(1,2) = 5 : print m(1,2); m(0,0)
s$(3) = "three" : print s$(3); len(s$(0))
t$ = "hello" : t$ = "hi" : print t$
k$ = "12345" : rset k$ = "ab" : print "["; k$; "]"
k$ = "12345" : lset k$ = "ab" : print "["; k$; "]"
for i = 1 to 300
  g$ = string$(i % 250 + 1, "g")
next
print len(g$)
houseclean
print a(3)
x = a(10)
print "not reached"
