run for_no_next.bas
run while_no_wend.bas
run gosub_no_return.bas
run return_alone.bas
run next_in_if.bas
run goto_out.bas
run goto_missing.bas
run on_range.bas
run on_keyword.bas
run then_alone.bas
run else_alone.bas
run break_outside.bas
run empty_statement.bas
run end_in_for.bas
run for_string.bas
run for_no_to.bas
run to_alone.bas
run deep.bas
run while_in_if.bas
run print_array.bas
run clear_inside.bas
run run_inside.bas
run string_start.bas
run predefined.bas
run erase_control.bas
run goto_into.bas
run goto_in_sub.bas
run next_name.bas
cont
5 + 1

