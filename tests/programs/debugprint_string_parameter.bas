// ?? shows a string parameter of a running function with its own text.
DEF f$(p$) = GOSUB 600
s$ = "some other text"
PRINT f$("hello")
END
600 ?? p$
?? s$
RETURN p$ + "!"
