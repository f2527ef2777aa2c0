rem Functions written without a list, indirect names, many variables, ERASE
def fna() = 6 * 7
x = fna
print x; fna() + 1
t = makedatetime
print t > 1700000000
f$ = formatdatetime$
print len(f$) > 20
for i = 1 to 150
  @("v" + str$(i)) = i * 2
next
s = 0
for i = 1 to 150
  s = s + @("V" + str$(i))
next
print s; v150; V75
dim a(3), b$(2), c(4)
c(3) = 9 : b$(1) = "gone"
erase b$
print c(3)
dim b$(5)
b$(4) = "back"
print b$(4); len(b$(1)); c(3)
