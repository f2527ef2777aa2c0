run svc_zone_run_start.bas
print formatdatetime$(t)
run svc_zone_run_start.bas


