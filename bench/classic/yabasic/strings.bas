rem String building, slicing and searching
n = 0
for i = 1 to 600000
s$ = ""
for j = 1 to 10
s$ = s$ + chr$(65 + j)
next j
n = n + len(mid$(s$, 3, 4)) + asc(right$(s$, 1)) + instr(s$, "F")
next i
print n
