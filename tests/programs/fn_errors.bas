// Loaded by fn_errors.cmd: functions for typed statements that fail.
DEF sq(x) = x * x
DEF f$(a$, n) = LEFT$(a$, n)
DEF h(x) = GOSUB 700
DEF m(a$) = GOSUB 800
DEF sw(x) = GOSUB 900
DEF rd(x) = GOSUB 950
END
700 x = 5
710 RETURN 1
800 MID$(a$, 1) = "x"
810 RETURN 1
900 SWAP x, y
910 RETURN 1
950 READ y, x
960 RETURN 1
970 DATA 1, 2
