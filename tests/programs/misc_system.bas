REM the session is in misc_system.cmd
