long z
z = 0
w = z ^ -1
w = z ^ 0 + 5
print w
y = len
y = sin + 1
dim big(70000, 70000)
x = 1
dim x(2)
dim x2(2)
x2(1) = 4
print x2(1); "0x4009211154442118" * 1
q = "0x1234" * 1
print z ^ 2

