rem the session in io_faults.cmd types its statements one by one
