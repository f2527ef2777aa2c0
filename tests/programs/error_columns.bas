// Where the caret stands for an infinite function result, a failed
// user-defined function call and a value an assignment cannot store.
def inv(a) = a / 0
def viasub(a) = gosub 100
print "loaded"
end
100 return sqr(-a)
