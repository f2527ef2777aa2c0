// GOSUB/RETURN, GOTO, ON GOTO/GOSUB and IF/THEN/ELSE with nesting
a = 1: b = 0
if a then if b then print "ab" else print "a not b" else print "not a"
if 0 then if b then print "x" else print "y" else print "outer else"
if a = 1 then print "then" else print "else"
if "" then print "empty is true" else print "empty string is false"
if "x" goto 20
print "not reached"
20 print "if goto"
x = 1
gosub 100: print "back on the line"
for i = 1 to 2: gosub 100: next: print "x ="; x
for m = 0 to 4
  on m gosub 100, 110, 120
next
print
on 2 goto 30, 40
30 print "wrong target"
40 print "on goto 40"
n = 0
50 n = n + 1
if n < 3 then goto 50
print "looped to"; n
goto 900
100 x = x + 1: print "sub100";: return
110 print " sub110";: return
120 print " sub120";
return
900 print "end"
