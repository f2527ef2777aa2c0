REM Tuning variables change how the long functions split their work, never
REM their results; timing variables receive the time of each piece.
FLOAT 300
LONG x, s1, s2, e1, e2, t1, t2, l1, l2
x = LONG("1.234567890123456789012345678901234567890123456789012345678901234567890123456789")
s1 = SIN(x)
e1 = EXP(x)
t1 = ATN(x)
l1 = LOG(x)
sincrossover1 = 16
sincrossover2 = 4
sincrossover3 = 100
expcrossover1 = -3
expcrossover2 = 5
expcrossover3 = 5
expcrossover4 = 1000000
atncrossover1 = 32
atncrossover2 = 33
atnskipadjust = 1
s2 = SIN(x)
e2 = EXP(x)
t2 = ATN(x)
DEBUG LNRAT OFF
l2 = LOG(x)
PRINT s1 = s2, e1 = e2, t1 = t2, l1 = l2
PRINT s1
PRINT e1
DIM sincalctime(5), coscalctime(5)
s2 = COS(x)
PRINT sincalctime(0) >= 0, coscalctime(0) >= 0, sincalctime(1) >= 0
atntotaltime = 7
t2 = ACOT(x)
PRINT atntotaltime
