// TAB's argument may call a function whose body runs statements, even a
// PRINT of its own.
DEF f(n) = GOSUB 600
DEF g(n) = GOSUB 700
PRINT TAB(f(3)); "x"
PRINT TAB(g(4)); "y"
END
600 y = n
RETURN n * 2
700 PRINT "in";
RETURN n * 2
