def f(a) = gosub 100
x = 5
print f(3)
end
100 clear
return a
