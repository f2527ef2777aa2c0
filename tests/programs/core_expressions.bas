rem Precedence, signs, comparisons, logic and strings
print 2^3^2; -2^2; 2*-3; 1 - - 1; 5 % 3; -5 % 3
print 2+3*4; 4*(2+3); 10/4; 7-2-1
print 1 < 2 = 1; "abc" < "abd"; "a" = "A"; 1 = "1"
print not 0; 1 and 0 or 1; 1 xor 1; 1 eor 0; not 1 = 2
a$ = "ab" + "cd" : print a$; len(a$)
b$ = string$(200, "x") + string$(100, "y") : print len(b$); right$(b$, 3)
x = 3 : y = x * x + 1 : print y
if x = 3 then print "three"
print 12345678901234567 * 1
print 1234567890123456 * 1
print pi; floatingptlength; lastshapeid; defaultprinttabs
n = 0
print "@"; @("n")
z = 1 / 0
print "not reached"
