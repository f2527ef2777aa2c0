REM the session is in misc_sort_errors.cmd
