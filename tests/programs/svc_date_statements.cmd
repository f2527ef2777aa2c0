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

