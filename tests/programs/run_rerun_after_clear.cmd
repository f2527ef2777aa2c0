run d.bas
clear
run
run e.bas
clear
run
list


