// PRINT layout: zones, separators, TAB, number formats and the 80-column line
x = 5
print x; "|"
print "a", "b"; "c", "d"
print 1, 2, 3
print "open";
print " still the same line"
print
print "a"; tab(10); "b"; tab(3); "c"
print "at"; tab(3); "x"; tab(0); "y"
printtabs = 20
print x, x
printtabs = 80
print x, x
printtabs = 0
print x, x
printformat$$ = "MAX"
print 1/3
printformat$$ = "%6.2f"
y = 3.14159
print y; -y; 3.14159
printformat$$ = ""
print -x; x / 4
print string$(85, "x")
print string$(60, "a"), string$(30, "b")
print "end"
