x = 5
for i = 1 to 1: next
clear
print "clear outside loops and calls empties the variables:"; x; i
