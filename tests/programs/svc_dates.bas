rem Dates and times: calendar, zones, daylight saving and the date texts.
print formatdatetime$(0)
print formatdatetime$(makedatetime(2,29,1900))
print formatdatetime$(makedatetime(13,1,2000))
print formatdatetime$(makedatetime(0,1,2000))
print formatdatetime$(makedatetime(1,1,2000.5))
print formatdatetime$(-62135596800 - 86400)
print formatdatetime$(59.9999996)
print defaultzerodatetime
settimezone 1
print formatdatetime$(0), defaultzerodatetime
settimezone -5
print formatdatetime$(makedatetime(7,1,2021,8,0,0))
setdstrules "ON"
bias = 5
t = makedatetime(7,1,2021,8,0,0)
print formatdatetime$(t), bias
print formatdatetime$(makedatetime(3,14,2021,1,59,0)), formatdatetime$(makedatetime(3,14,2021,3,0,0))
dim a(9)
a = expanddatetime(t)
print a(0); a(1); a(2); a(3); a(4); a(5); a(6); a(7); a(8)
a(3) = 20
print formatdatetime$(makedatetime(a))
rem A southern-hemisphere rule for 2030 to 2040.
dim r(1,12)
data 2030, 2040, 10, 1, 1, 60, 2, 4, 1, 1, 0, 3
read r(0,0), r(0,1), r(0,2), r(0,3), r(0,4), r(0,5), r(0,6), r(0,7), r(0,8), r(0,9), r(0,10), r(0,11)
setdstrules r
print formatdatetime$(makedatetime(1,15,2031,12,0,0)), formatdatetime$(makedatetime(6,15,2031,12,0,0))
setdstrules "off"
print formatdatetime$(t)
print len(date$), len(time$), len(dayofweek$)
print mid$(date$,3,1), mid$(date$,6,1), mid$(time$,3,1), mid$(time$,6,1)
updatedatetime
print makedatetime() > 1.7e9
settimezone 2000
