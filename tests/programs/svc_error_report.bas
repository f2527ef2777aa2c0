rem Error reports: the echoed line keeps its tabs, the caret stands under the
rem first visible character at or after the failing item.
a = 2
print "before"
b =	a	+	sqr(-a)
print "not reached"
