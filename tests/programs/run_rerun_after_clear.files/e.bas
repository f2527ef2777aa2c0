append "tail.bas"
def g(x) = x + 1
print g(1)
