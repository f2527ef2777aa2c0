// Built-in functions: strings, numbers and conversions as a program sees them.
s$ = "abcabc": t$ = "c"
PRINT instr(s$, t$); instr(4, s$, t$); instr(7, s$, ""); instr(2, s$, "")
h$ = "hello"
PRINT "["; mid$(h$, 2); "]["; mid$(h$, 6, 1); "]["; left$(h$, 300); "]["; right$(h$, 3); "]"
PRINT hex$(255); " "; hex$(255, 0); " ["; hex$(255, 1); "] "; hex$(-1); " "; hex$(1, 2)
PRINT cint(2.5); cint(-2.5); int(-2.5); fix(-2.5); cint(0.5 - 2^-54)
PRINT exponent(12345); exponent(0.001); root(-8, 3); root(0, 0); mod(-5, 3)
PRINT "["; str$(1/3); "]["; str$(1/3, "%8.3f"); "]["; str$(1234.5, "#,###.##"); "]"
PRINT val("12abc") + 0; val("abc") + 0; val(".") + 0; val("  7") * 2
PRINT chr$(72) + chr$(105); asc("A"); len("four"); string$(3, "-"); space$(2); "|"
PRINT toupper$("MiXeD 1"); " "; tolower$("MiXeD 1"); setcolor(255, 0, 1)
PRINT factorial(10); half(7); short(long(2) / 4); sgn(-0.1)
x = rnd(-7): y = rnd(1): z = rnd(-7)
PRINT x = z; rnd(0) = x; y = rnd(1)
DIM w$(3)
w$(0) = "ab": w$(1) = "cde"
PRINT len(w$)
PRINT USING "###.#"; 1.5 * 1; str$(2 * 1); 3.75 * 1
PRINT USING "###.#"; 1 * 1; str$(2, "%5.2f"); 3 * 1
