// Typed statements whose built-in function calls fail: see fn_function_errors.cmd.
