// Numeric functions: rounding of halves and negatives, HEX$ at the edges of
// its range, RND's exact sequence, and the double paths of the others.
PRINT int(2.5); int(-2.5); int(-0.5); int(3); int(-3); int(1.9999)
PRINT fix(2.5); fix(-2.5); fix(-0.5); fix(3); fix(-3); fix(-1.9999)
PRINT cint(0.5); cint(1.5); cint(-0.5); cint(-1.5); cint(-0.4); cint(2.4999)
PRINT cint(0.5 - 2^-54); cint(-(0.5 - 2^-54))
PRINT USING "%.0f"; cint(2^52 + 1); cint(-(2^52 + 1)); cint(2^53 - 1); int(-(2^51 + 0.5))
PRINT hex$(2^31); " "; hex$(-2^31); " "; hex$(2^32 - 1); " "; hex$(-2^31, 0); " ["; hex$(-2^31, 1); "]"
PRINT hex$(0); " "; hex$(0, 0); " "; hex$(-0.5); " "; hex$(-1.5); " "; hex$(15.99, 0)
PRINT hex$(2^32, 2); " "; hex$(-2, 2); " "; hex$(0, 2); " "; hex$(0.1, 2)
PRINT USING "%.15f"; rnd(0); rnd(1); rnd(1); rnd(1)
RANDOMIZE 12345
PRINT USING "%.15f"; rnd(1); rnd(1); rnd(0)
RANDOMIZE 4294967295
PRINT USING "%.15f"; rnd(1)
PRINT USING "%.15f"; rnd(-1); rnd(1); rnd(-12345)
PRINT abs(-3) + 0; abs(-2.5 * 1); abs(0 * 1); sgn(-2); sgn(0); sgn(7); mod(7, 3); mod(-7, 3); mod(7.5, -2)
PRINT sqr(16); log(1); log10(1000); exp(0); exp10(3); half(-3); short(5)
PRINT exponent(9.999); exponent(0); exponent(-0.05); exponent(1e300); factorial(1); factorial(170)
PRINT root(27, 3); root(-32, 5); root(0, 3); root(16, 0.5); root(2, -1)
PRINT atn(0); acot(0) * 2; cos(0); sin(0); tan(0)
DEGREES
PRINT sin(30); cos(60); tan(45); cot(45); atn(1); acot(1)
RADIANS
PRINT atn(1) * 4; checkdegrees
