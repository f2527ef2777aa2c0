// Operand conversions between doubles, long numbers and numeric text, and the
// 17-digit rule that decides which form a number literal takes.
#pragma once
#include <string_view>

#include "interpreter/item.h"

// Results: 2 (double) or 14 (long) on success, or a negative code. While
// no_execute is set each returns a zero of its target kind at once.

// The current result of the given type into double_accumulator.
int result_to_double(int type, int report);
// The current result made numeric by the 17-digit rule.
int result_to_number(int type);
// The current result into long_accumulator.
int result_to_long(int type, int report);
// The item made numeric in place by the 17-digit rule.
int item_to_number(expr_item& item);
// The item as a long number in a new temporary.
int item_to_long(expr_item& item);
// The item as a double in place.
int item_to_double(expr_item& item);
// Makes both operands of a binary operator numeric of one kind.
int unify_numeric_pair(expr_item& left, expr_item& right);
// The text in string_accumulator into double_accumulator; 2 or a negative
// code (reported only when report is set, except a malformed "0x" pattern).
int string_to_double(int range_check, int report);
// The decimal parser behind string_to_double.
int decimal_string_to_double(int range_check, int report);
// Decimal digits of a number text before any "e" or "E".
int count_number_digits(std::string_view text);
