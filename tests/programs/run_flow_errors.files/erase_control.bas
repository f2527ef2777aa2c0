dim a(3)
for a(1) = 1 to 5
print a(1)
erase a
next
print "x"
