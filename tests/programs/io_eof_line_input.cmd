run io_eof_line_input.bas
