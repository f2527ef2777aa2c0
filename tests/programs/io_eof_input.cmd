run io_eof_input.bas
1
