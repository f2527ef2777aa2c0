run
run run_load_errors.bas
run dup.bas
run
run zero.bas
run big.bas
run digits.bas
run letter.bas
run separators.bas
run indented.bas
run long253.bas
run long254.bas
run noeol.bas
run crlf.bas
run missing.bas
load crlf.bas
run
load

