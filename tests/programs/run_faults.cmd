run run_faults.bas
run deep_call.bas
run clear_in_for.bas
run clear_in_call.bas
run clear_outside.bas
run for_parameter.bas
run write_full.bas
run full_at_end.bas
print "typed after the run"
run full_many.bas
run bad_load.bas
run
run inc_main.bas
run
chain "inc_part.bas"
append "inc_part.bas"
print "typed": include "inc_part.bas"
print "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz"
print "the long line was dropped whole"

