rem the session in long_errors.cmd types its statements one by one
