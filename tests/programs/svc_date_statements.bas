REM the session is in svc_date_statements.cmd
