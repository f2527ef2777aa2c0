// Number formats: printf, engineering and picture forms, and long numbers
x = 3.14159
print using "###.##"; x
print using "%8.3f"; x
e = 1234
print using "engV"; e
e = 0.000047
print using "engOhm"; e
y = 1234
print using "#,###"; y
y = 5
print using "#,###"; y
y = 12345
print using "#,###"; y
print using "+###"; y - 12340
print using "##.cc"; y - 12340
printformat$$ = "max"
print x
printformat$$ = ""
print x
long big
big = 1234.567
print using "15.2C"; big
print using "12"; big
print str$(x, "%.2e")
print using "%s"; x
print "after"
