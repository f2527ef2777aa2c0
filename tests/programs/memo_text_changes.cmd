run memo_text_changes.bas
print x; q(1); q(2)
x = 3
print x; q(1)
y = x * 2
print y; x * 2
run double.bas
print f(5)
DEF f(x) = x - 1
print f(5)
run add.bas
print f(5)
print f(5) + x
run
print f(6)


