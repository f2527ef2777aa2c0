settimezone -5
print formatdatetime$(makedatetime(7,1,2021,8,0,0))
setdstrules "on"
print formatdatetime$(makedatetime(7,1,2021,8,0,0))
setdstrules on
setdstrules "maybe"
x$ = "on"
setdstrules x$
dim r(2, 11)
setdstrules r
setdstrules "OFF"
print formatdatetime$(makedatetime(7,1,2021,8,0,0))
settimezone 1981
settimezone 1980.9
print formatdatetime$(0)
a$ = formatdatetime$(1e300)
dim t(9)
t = expanddatetime(-1e300)
settimezone 0
t = expanddatetime(86399.5)
print t(0); t(1); t(2); t(3); t(4); t(5); t(6); t(7); t(8)
dim w(8)
x = makedatetime(w)
dim m(3,3)
x = makedatetime(m)
t(0) = 2000.5
x = makedatetime(t)
t(0) = 1970: t(1) = 14: t(5) = 1e300
x = makedatetime(t)
x = makedatetime(1e300)
print makedatetime(1, 1, 0) = makedatetime(1, 1)
a$ = formatdatetime$(-62135596800 + 59.9999996): print a$

