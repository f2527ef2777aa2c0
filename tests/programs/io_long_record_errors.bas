rem the session in io_long_record_errors.cmd types its statements one by one
