// The interpreter's side of the long numbers: operands taken from expression
// items, results stored into variables and accumulators, and the host that
// the kernels call (rizozira/long_host.h, implemented in long_bridge.cpp).
#pragma once
#include <cstdint>

#include "interpreter/item.h"
#include "rizozira/long_functions.h"

// The text of a RIZOZIRA operand: a string or numeric-text item (retyped to
// 3) gives its temporary-string text; a whole one-dimensional string array
// gives its elements joined into a new heap buffer (*alloc_out, which the
// caller frees with std::free). 0, or negative: 176 (not one-dimensional),
// 159, 160 (any other item type).
int long_operand_text(expr_item* item, char** alloc_out, const char** text_out);
// One operand into dst: 14 for a long (moved) or double operand, 0 for a text
// operand, or negative. Sets error_column from the item.
int long_convert_in(expr_item* item, long_number* dst, int report);
// The numeric text in string_accumulator into long_accumulator: 14 or negative.
int long_from_work_string(int report);
// n into double_accumulator: 2 or negative (as the kernel's long_to_double).
int long_to_double(long_number* n, int report);
// Stores a long text result into its destination item: a string variable
// (type 3, through current_value_slot, which the caller points at the
// target), a whole one-dimensional string array (13, in 255-character
// pieces) or a FIELD variable (19, through assign_field_variable and the
// FIELD target the caller's scan left). mode: 0 plain, 1 LSET, 2 RSET. Returns 3
// (string variable), 0 (array, or nothing done while no_execute) or negative
// (155, 157, 158, 176, or the first storing error).
int long_store_text(expr_item* destination, const char* text, int length, int mode);

// dst := the value of the hexadecimal text of item. 14 or negative.
int long_from_hex(expr_item* item, long_number* dst);
// HEXCONVERT of a number: hexadecimal text into string_accumulator (its first
// 255 characters); returns 3. 269 when the integer part is too long, 159.
int long_func_hexconvert_number(long_number* x);
// HEXCONVERT of a string, numeric text or one-dimensional string array:
// long_from_hex into long_accumulator; returns 14.
int long_func_hexconvert_text(expr_item* item);
