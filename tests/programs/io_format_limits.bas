// Number formats at their edges: pictures with separators, signs and cents,
// engineering notation at the ends of its prefix range, long formats whose
// rounding carries into a new digit
dim v(6)
v(0) = 1234.5
v(1) = -12.5
v(2) = 1234567.891
v(3) = 0.004
v(4) = 99999.996
v(5) = -1234
for i = 0 to 5
  x = v(i)
  print using "$#,###,###.##"; x
  print using "+#,###"; x
next
c = 123456
print using "#,###.cc"; c
c = -5
print using "##.cc"; c
c = 5
print using "##.cc"; c
c = 1234567
print using "##.cc"; c
c = 12
print using "###."; c
// engineering: 10^-12 and 10^14 still take a prefix, 10^-13 and 10^15 not
dim e(9)
e(0) = 1e-12
e(1) = 9.99e-13
e(2) = 1.23e14
e(3) = 9.994e14
e(4) = 9.995e14
e(5) = -999.9
e(6) = 0.5
e(7) = 0
e(8) = 4.7e-6
for i = 0 to 8
  x = e(i)
  print "["; str$(x, "engV"); "]"
next
// long numbers: rounding to the decimals shown may add a digit, and a number
// too wide for its field is written in exponential form
long a
float 40
a = 999.996
print using "12.2"; a
a = 9999999.995
print using "12.2"; a
a = 99999999.995
print using "12.2"; a
a = 999999.5
print using "12C"; a
a = -9999.9999
print using "14.3C"; a
a = 0.000123456
print using "14.6"; a
a = 12345678901234567890
print using "12"; a
