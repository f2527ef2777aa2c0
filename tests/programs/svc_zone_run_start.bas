rem The zone offset, the daylight flag and added rules last only for their run.
t = makedatetime(1, 15, 2055, 12)
print formatdatetime$(t)
settimezone 3
setdstrules "on"
dim r(1, 12)
r(0, 0) = 2050: r(0, 1) = 2060: r(0, 2) = 1: r(0, 3) = 1: r(0, 4) = 0: r(0, 5) = 60: r(0, 6) = 0
setdstrules r
print formatdatetime$(t)
