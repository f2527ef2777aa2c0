run io_eof_inkey.bas
