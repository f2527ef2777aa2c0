// Built-in functions: do_function and the tokens of the function keyword table.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "interpreter/item.h"

constexpr int function_token_count = 57;  // tokens are positions in function_keywords (keywords.h)

// No argument list was written after the function name: do_function is called
// with this count (a written "()" is count 0).
constexpr int FUNCTION_NO_ARGUMENT_LIST = -1;

// Evaluates one call of a built-in function (token 41: a user-defined
// function, see user_functions.h). arguments holds count evaluated items as
// get_parameter_list built them (strings as temporary-string offsets, longs as
// temporary longs). Returns 2 (double_accumulator), 3 or 16
// (string_accumulator), 14 (long_accumulator), or a negative error code that
// has already been reported.
int do_function(int token, expr_item* arguments, int count);

// A built-in function that, given one double, only computes a double (or
// reports an error): it reads and changes nothing else a remembered
// expression depends on.
bool pure_numeric_function(int token);
// A built-in function that, given remembered plain arguments, only makes a
// string (or reports an error): it reads and changes nothing else a
// remembered expression depends on.
bool pure_string_function(int token);
// do_function for such a function given one double, while nothing is
// passed over and LONG ALL is off: the same steps without the dispatch.
int pure_numeric_call(int token, expr_item& argument);
// The value of a pure numeric function that no mode changes (ABS, FIX, INT,
// CINT, SGN) of the double x, as its double road gives it, changing nothing:
// false for any other function, or where the double road would report
// something (x not finite).
bool pure_numeric_value(int token, double x, double& out);
// An argument of pure_string_value: a text or a double.
struct pure_argument {
  bool is_string;
  std::string_view text;
  double value;
};
// The text CHR$, LEFT$, RIGHT$ or MID$ gives for count arguments, as its own
// road gives it, changing nothing (room holds the one character CHR$
// makes): false for any other function, or where that road would report
// something (an argument of the wrong kind or out of range).
bool pure_string_value(int token, const pure_argument* arguments, int count, std::string_view& text, char& room);
// The number LEN, ASC or INSTR gives for count arguments (texts, and
// INSTR's start), as its own road gives it, changing nothing: false for any
// other function, or where that road would report something.
bool pure_text_number(int token, const pure_argument* arguments, int count, double& out);

// Column of the function's name in the call being made, set by the item
// scanner just before do_function: an infinite result (165) and a failed
// user-function call (200, 216) are shown there, not under an argument.
extern int function_name_column;

// Angle unit of SIN, COS, TAN, COT, ATN and ACOT: 1 degrees, 0 radians.
extern int degrees_mode;

// Pure kernels of the double paths, shared by do_function and the tests. Each
// returns 0 or a positive error code that the caller reports at the right column.
double cint_double(double x);                       // nearest integer, halves away from zero
int hex_text(double n, double fill, char* out, std::size_t size);  // HEX$
int exponent_of_double(double x, double& exponent);  // EXPONENT: the exponent "% 4.2e" prints
int root_double(double x, double n, double& result); // ROOT(x, n)
int factorial_double(double n, double& result);     // FACTORIAL(n)
// INSTR: 1-based position of t in s from start, 0 when none.
double instr_position(double start, const char* s, std::size_t s_length, const char* t,
                      std::size_t t_length);
