open "random", 1, "r.dat"
open "random", 1, "r.dat", 32768
open "random", 1, "r.dat", 8
get #1, 0
get #1, -3
put #1, 16777217
get #1, 1
print #1, "123456789"
print #1, "1234";
print #1, "56789"
print #1, "x"; tab(3); "y"
put #1, 2
get #1
open "output binary", 2, "b.bin", 128
open "output binary", 2, "b.bin", 127
print #2, "12345678"
write #2, "a"
get #2
open "output", 3, "o.txt"
put #3
input #3, a$
close

