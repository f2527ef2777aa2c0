// FOR/NEXT and WHILE/WEND: passes, steps, zero passes, BREAK, CONTINUE, nesting
for i = 1 to 3
  print i;
next
print "| i ="; i
for i = 3 to 1
  print "never"
next
print "zero passes, i ="; i
for i = 3 to 1 step -1: print i;: next: print " same line"
for i = 1 to 2: print "a";
next: print " behind next"
for i = 0 to 1 step 0.25
  if i = 0.5 then continue
  print i;
next
print
for i = 1 to 10
  if i = 4 then break
next
print "break leaves i ="; i
for i = 1 to 2
  for j = 1 to 3
    if j = 2 then continue
    print i * 10 + j;
  next
next
print
n = 0
while n < 5
  n = n + 1
  if n = 2 then continue
  if n = 4 then break
  print "n"; n
wend
print "after wend n ="; n
while 0
  print "never"
wend
k = 0: while k < 3: k = k + 1: print k;: wend: print " one line"
for i = 1 to 3
  print i;
  i = i + 1
next
print
if 1 then while 0: wend: print "while on an IF line"
for i = 1 to 2
  goto 60
  print "skipped"
60 print "goto inside the body"; i
next
long big
c = 0
for big = 12345678901234567890 to 12345678901234567892: c = c + 1: next
if big = 12345678901234567893 then print "long control:"; c; "passes, one step past the limit"
c = 0
for big = 3 to 1 step -1: c = c + 1: next
if big = 0 then print "long countdown:"; c; "passes"
