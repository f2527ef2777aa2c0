REM Numeric text of 16 digits or fewer becomes the nearest double; an exact
REM halfway value rounds away from zero.
x = 9007199254740993: PRINT x - 9007199254740992
x = 9007199254740995: PRINT x - 9007199254740992
x = -9007199254740993: PRINT x + 9007199254740992
x = 9007199254740992: PRINT x - 9007199254740992
x = 0.1: PRINT x * 3
