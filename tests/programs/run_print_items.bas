// PRINT evaluates each item once; "(" starts an expression; ";" before ":"
def f(x) = gosub 100
calls = 0
print f(2); f(3)
print "calls:"; calls
print (1+2)*3
print "|"; (2+3)*(1+1); "|"
print 5; : print 6
print "a", : print "b"
print 5
print 1e3; "|"
using$ = "text in a variable named like the keyword"
print using$
y = 3.14159
print using "###.##"; y; "|"
printformat$$ = "%5.1f"
print (1/3)
print "error once:"; chr$(300)
end
100 calls = calls + 1
return x * 10
