REM the session is in misc_debug.cmd
