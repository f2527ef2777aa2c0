// Helpers shared by the files of the built-in functions (not for other areas).
#pragma once
#include <string_view>

#include "interpreter/item.h"

// error_column when do_function was entered, as the argument list left it
// (the column of the last argument's first item).
extern int function_column;

// Reports code at the argument's column; returns -code.
int argument_error(const expr_item& argument, int code);
// Reports 145 "Incorrect number of parameters." at the first argument.
int argument_count_error(const expr_item* arguments, int count);
// Results: 2 with value in double_accumulator; 165 for an infinite value.
int result_double(double value);
int result_finite_double(double value);
// Reports 165 "Result was infinite." at the function's name; returns -165.
int infinite_result_error();
// Copies text (at most 255 characters) to string_accumulator; returns type.
int result_text(std::string_view text, int type);
// The text of a string argument (false for any other type).
bool argument_text(const expr_item& argument, std::string_view& text);
// The same, reporting 146 at the argument for any other type.
int string_argument(const expr_item& argument, std::string_view& text);
// The argument as a double (item_to_double; its errors pass up).
int double_argument(expr_item& argument, double& value);

// The numeric functions (functions_math.cpp): every token that is not a
// string, conversion or later-work function.
int numeric_function(int token, expr_item* arguments, int count);
