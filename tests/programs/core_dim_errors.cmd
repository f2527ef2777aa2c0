dim q(0)
dim q(0.5)
dim q(1,2,3,4,5,6,7)
x = 1
dim x(5)
dim y(2.9)
dim y(3)
y(2) = 1
y(1) = 4
print y(1.99)
dim z
long w$
print len("\+\-"); "a\"b\\c"
print "12345678901234567890" + 1
print 1e400 * 2

