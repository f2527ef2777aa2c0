x = 2.5
print using "%8.3f"; x
print using "%s"; x
print using "%n"; x
print using "%d"; x
print using "%5.2f and %5.2f"; x
print using "%*f"; x
print using "%999f"; x
print using "%.253f"; x
print using "%.254f"; x
print using "%256.1f"; x
print using "%5.1f%% done"; x
y$ = str$(x, "%x")
open "output", 1, "/dev/full"
print #1, "lost"
close 1
open "append", 1, "/dev/full"
write #1, 1, 2
close
open "random", 2, "/dev/full", 8
put #2
open "output binary", 3, "/dev/full", 8
print #3, "abc"
close
print "still here"

