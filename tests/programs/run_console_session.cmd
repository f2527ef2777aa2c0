list
print "typed"; 1 + 1
load run_console_session.bas
gosub 100
goto 200
x = 5
print x; x * 2
list x
clear
print x
run
houseclean
10 print
print "still here"

