REM the session is in misc_debug_routines.cmd
