rem the session in io_random_errors.cmd types its statements one by one
