rem declaration errors are typed at the console (see core_dim_errors.cmd)
