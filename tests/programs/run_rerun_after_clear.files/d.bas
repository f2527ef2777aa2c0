def f(x) = x * 2
print f(2)
