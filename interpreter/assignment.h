// Assignment: do_assignment (declared in statements.h with the LSET, RSET and
// MID$ statement handlers) and storing into FIELD variables.
#pragma once

#include "interpreter/item.h"

// do_assignment for a target get_item read as a simple double or string
// variable (not a parameter) with the "=" next, the statement running: the
// same steps, results and errors, running or passed over. 0 or a negative
// reported code.
int assign_double_variable(expr_item& target);
int assign_string_variable_target(expr_item& target);

// Stores string_accumulator into the FIELD variable that field_target_start,
// field_target_width, field_target_file and current_value_slot describe.
// mode 0 plain and 1 LSET left-justify, 2 RSET right-justifies; the value is
// cut or padded with blanks to the field's width. Returns 0 or a negative
// reported code (109, 236).
int assign_field_variable(int mode);
