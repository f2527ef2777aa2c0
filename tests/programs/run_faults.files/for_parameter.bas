def f(k) = gosub 100
print f(1)
end
100 for k = 1 to 2: next
return k
