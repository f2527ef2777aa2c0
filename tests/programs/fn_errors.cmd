load dup.bas
load reserved.bas
load badname.bas
load noparen.bas
load noequal.bas
load gosubjunk.bas
load badparam.bas
load toomany.bas
load fn_errors.bas
x = sq(2, 3)
x = f$(1, 2)
x = h(1)
x = m("abc")
x = sw(1)
x = rd(1)
read a: print a
x = mid$("hello", 0)
mid$(x$, 0) = "a"
mid$(x$, 1, 0) = "a"
y = 1: mid$(y, 1) = "a"
mid$(x$ 1) = "a"
mid$(x$, 1) "a"
mid$(x$, 1) = 5
erase a,
swap a, b$
swap a b
randomize 0
randomize
randomize later
float 10
float 1000001
long n$
long big: long big
dim q(2), 
restore 999
a$ = 3 + 4
x = "abc"
long lv: lv = "5"
sc2 = 1: dim arr(2): arr = sc2
x = 
lset y = "a"
lset z$ "a"
x = tab(3)
dim t(10), t2(9, 1), t3(5): sc = 1
t = expanddatetime(0)
t2 = expanddatetime(0)
t = expanddatetime(1, 2)
t3 = dim(t)
t = dim(sc)
t = dim(t
dim sa$(1): swap sa$(0), x
swap x, sa$(0)
float 300: a$ = "old": a$ = long(1) / 3
print a$: float 50

