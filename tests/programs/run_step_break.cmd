run run_step_break.bas








if 1 then print "typed while a break is pending"




