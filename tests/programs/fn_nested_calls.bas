// A user function called inside another one's argument list: each call must
// run its own definition.
DEF sq(x) = x * x
DEF inc(x) = x + 1
DEF two(a, b) = a * 10 + b
PRINT sq(inc(2)); inc(sq(2)); two(inc(1), sq(3))
