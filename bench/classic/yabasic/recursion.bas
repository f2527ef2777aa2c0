rem Recursive user function: Fibonacci by definition
print fib(31)
end
sub fib(n)
if n < 2 return n
return fib(n - 1) + fib(n - 2)
end sub
