load run_typed_road.bas
list
n = 1
gosub 100: print "back on the typed line, n ="; n
for k = 1 to 3: gosub 100: next: print "loop of calls done"
goto 200
on 2 gosub 300, 100
if n > 3 then print "typed if" else print "typed else"
print "typed error follows": goto 999
return
list
run
print "end of input without an empty line"