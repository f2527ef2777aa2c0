goto 99
