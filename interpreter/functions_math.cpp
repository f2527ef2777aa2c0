// The numeric built-in functions: the double path of each, and the long-number
// path that hands the work to rizozira. Also LONG, SHORT, HEXCONVERT and RND.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/functions.h"
#include "interpreter/functions_internal.h"
#include "interpreter/keywords.h"
#include "interpreter/long_bridge.h"
#include "interpreter/random.h"
#include "interpreter/run_state.h"
#include "interpreter/variables.h"
#include "rizozira/long_functions.h"
#include "rizozira/long_number.h"

namespace {

constexpr double pi_value = 3.141592653589793;

int function_error(int code) {
  return report_error_at(function_column, code);
}

// Moves a temporary long into long_accumulator; 14 or negative.
int move_to_accumulator(long_number* x) {
  int r = long_move(x, long_accumulator);
  return r < 0 ? r : static_cast<int>(ITEM_LONG);
}

// CINT of a long: nearest integer, halves away from zero.
int long_cint(long_number* x) {
  if (int r = long_move(x, long_accumulator); r < 0) return r;
  long_number* n = long_accumulator;
  if (long_is_zero(n)) return ITEM_LONG;
  if (n->exp < 1) {
    // |x| < 1: 0, or +-1 from one half on (0.d1...: d1 is the first digit of block 0).
    std::int32_t sign = n->sign;
    bool half_or_more = n->exp == 0 && n->blocks[0] >= long_base / 2;
    if (!half_or_more) {
      long_set_zero(n);
      return ITEM_LONG;
    }
    if (int r = long_from_int(n, 1); r < 0) return r;
    n->sign = sign;
    return ITEM_LONG;
  }
  if (n->len > n->exp) {
    std::int32_t saved = long_precision;
    long_precision = n->exp;
    n->norm = 0;
    long_normalize(n, 1);
    long_precision = saved;
  }
  return ITEM_LONG;
}

// INT of a long: floor.
int long_int(long_number* x) {
  if (x->sign == 0) {
    long_fix(x);
    return move_to_accumulator(x);
  }
  long_number* t = long_temp_alloc();
  if (!t) return -1;
  if (int r = long_copy(x, t); r < 0) return r;
  long_fix(t);
  if (long_compare(x, t) >= 0) return move_to_accumulator(t);  // x was integral
  if (int r = long_subtract(t, long_one, long_accumulator); r < 0) return r;
  long_normalize(long_accumulator, -1);
  return ITEM_LONG;
}

// The long path of a one-argument numeric function; x is the argument's temporary.
int long_unary(int token, expr_item& argument) {
  long_number* x = argument.value.long_value;
  if (!x) return argument_error(argument, 41);
  switch (token) {
    case FUNC_ABS: {
      int r = move_to_accumulator(x);
      if (r < 0) return r;
      long_accumulator->sign = 0;
      return ITEM_LONG;
    }
    case FUNC_ATN: return long_func_atn(x, 0);
    case FUNC_ACOT: return long_func_atn(x, 1);
    case FUNC_SIN: return long_func_trig(x, 1);
    case FUNC_COS: return long_func_trig(x, 2);
    case FUNC_TAN: return long_func_trig(x, 3);
    case FUNC_COT: return long_func_trig(x, 4);  // a zero argument: division by zero (166)
    case FUNC_FIX: return long_func_fix(x);
    case FUNC_EXP: return long_func_exp(x, 0);
    case FUNC_EXP10: return long_func_exp(x, 1);
    case FUNC_LOG:
    case FUNC_LOG10:
      if (integer_mode) return function_error(162);
      if (long_is_zero(x)) return argument_error(argument, 210);
      if (x->sign < 0) return argument_error(argument, 209);
      return long_func_log(x, token == FUNC_LOG10 ? 1 : 0);
    case FUNC_SGN: return result_double(long_is_zero(x) ? 0.0 : (x->sign < 0 ? -1.0 : 1.0));
    case FUNC_SQR:
      if (integer_mode) return function_error(162);
      if (x->sign < 0 && !long_is_zero(x)) return argument_error(argument, 199);
      return long_func_sqr(x);
    case FUNC_EXPONENT: return result_double(static_cast<double>(x->exp) - 1.0);
    case FUNC_CINT: return long_cint(x);
    case FUNC_INT: return long_int(x);
    case FUNC_FACTORIAL: return long_func_factorial(x);
    case FUNC_HALF: return long_func_half(x);
    default: return argument_error(argument, 41);
  }
}

// The double results of the functions no mode changes. "+ 0.0" turns the -0
// that rounding leaves for small negatives into 0.
double fix_of(double x) { return std::trunc(x) + 0.0; }
double int_of(double x) { return std::floor(x) + 0.0; }
double cint_of(double x) { return cint_double(x) + 0.0; }
double sgn_of(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }

// The double path of a one-argument numeric function.
int double_unary(int token, const expr_item& argument, double x) {
  const double to_radians = pi_value / 180.0;
  const double to_degrees = 180.0 / pi_value;
  switch (token) {
    case FUNC_ABS:
      if (std::isnan(x)) return report_error_message(err_invalid_type_expecting_number, "ABS - value is not a number.");
      return result_double(std::fabs(x));
    case FUNC_ATN: {
      double r = x == 0.0 ? 0.0 : std::atan(x);
      return result_finite_double(degrees_mode ? r * to_degrees : r);
    }
    case FUNC_ACOT: {
      double r = pi_value / 2.0 - (x == 0.0 ? 0.0 : std::atan(x));
      return result_finite_double(degrees_mode ? r * to_degrees : r);
    }
    case FUNC_COS: return result_finite_double(std::cos(degrees_mode ? x * to_radians : x));
    case FUNC_SIN: return result_finite_double(std::sin(degrees_mode ? x * to_radians : x));
    case FUNC_TAN: return result_finite_double(std::tan(degrees_mode ? x * to_radians : x));
    case FUNC_COT: return result_finite_double(1.0 / std::tan(degrees_mode ? x * to_radians : x));
    case FUNC_FIX: return result_finite_double(fix_of(x));
    case FUNC_INT: return result_finite_double(int_of(x));
    case FUNC_CINT: return result_finite_double(cint_of(x));
    case FUNC_EXP:
    case FUNC_EXP10: {
      double r = token == FUNC_EXP ? std::exp(x) : std::pow(10.0, x);
      if (!std::isfinite(r)) return infinite_result_error();
      return result_double(r);
    }
    case FUNC_LOG:
    case FUNC_LOG10:
      if (x < 0) return argument_error(argument, 209);
      if (x == 0) return argument_error(argument, 210);
      return result_finite_double(token == FUNC_LOG ? std::log(x) : std::log10(x));
    case FUNC_SGN: return result_double(sgn_of(x));
    case FUNC_SQR:
      if (x < 0) {
        if (!math_error_ok) return argument_error(argument, 199);
        math_error_flag = 1;
      }
      return result_finite_double(std::sqrt(x));
    case FUNC_EXPONENT: {
      double e = 0;
      if (int code = exponent_of_double(x, e); code != 0) return argument_error(argument, code);
      return result_double(e);
    }
    case FUNC_FACTORIAL: {
      double r = 0;
      if (int code = factorial_double(x, r); code != 0) return argument_error(argument, code);
      return result_double(r);
    }
    case FUNC_HALF: return result_finite_double(x / 2.0);
    default: return argument_error(argument, 41);
  }
}

int func_rnd(expr_item* a, int count) {
  if (count != 1) return argument_count_error(a, count);
  double x = 0;
  if (int r = double_argument(a[0], x); r < 0) return r;
  if (x < 0) {
    double m = -x;
    if (!(m >= 1.0 && m <= 4294967295.0)) return argument_error(a[0], 194);
    random_set_seed(static_cast<std::uint32_t>(m));
    x = 1.0;
  }
  if (x == 0.0) return result_double(rnd_last_value);
  if (!(x > 0.0)) return argument_error(a[0], 194);  // NaN
  rnd_last_value = random_fraction();
  return result_double(rnd_last_value);
}

int func_mod(expr_item* a, int count) {
  if (count != 2) return argument_count_error(a, count);
  int t = unify_numeric_pair(a[0], a[1]);
  if (t < 0) return t;
  if (t == ITEM_LONG) {
    int r = long_mod(a[0].value.long_value, a[1].value.long_value);
    return r < 0 ? r : static_cast<int>(ITEM_LONG);
  }
  if (a[1].value.number == 0.0) return argument_error(a[1], 78);
  return result_finite_double(std::fmod(a[0].value.number, a[1].value.number));
}

int func_root(expr_item* a, int count) {
  if (count != 2) return argument_count_error(a, count);
  int t = unify_numeric_pair(a[0], a[1]);
  if (t < 0) return t;
  if (t == ITEM_LONG) return long_func_root(a[0].value.long_value, a[1].value.long_value);
  double r = 0;
  if (int code = root_double(a[0].value.number, a[1].value.number, r); code != 0)
    return code == err_result_was_infinite ? infinite_result_error() : function_error(code);
  return result_double(r);
}

int func_long(expr_item* a, int count) {
  if (count != 1) return argument_count_error(a, count);
  expr_item& x = a[0];
  switch (x.type) {
    case ITEM_DOUBLE: return long_from_double(x.value.number);
    case ITEM_LONG: return move_to_accumulator(x.value.long_value);
    case ITEM_STRING:
    case ITEM_STRING_ARRAY: {
      int r = long_convert_in(&x, long_accumulator, 1);
      return r < 0 ? r : static_cast<int>(ITEM_LONG);
    }
    case ITEM_NUMERIC_TEXT: {
      std::string_view text(temp_string_text(static_cast<std::uint32_t>(x.value.bits)));
      result_text(text, ITEM_NUMERIC_TEXT);
      int r = result_to_long(ITEM_NUMERIC_TEXT, 1);
      return r < 0 ? r : static_cast<int>(ITEM_LONG);
    }
    default: return argument_error(x, 41);
  }
}

int func_short(expr_item* a, int count) {
  if (count != 1) return argument_count_error(a, count);
  double v = 0;
  if (int r = double_argument(a[0], v); r < 0) return r;
  return result_double(v);
}

int func_hexconvert(expr_item* a, int count) {
  if (count != 1) return argument_count_error(a, count);
  expr_item& x = a[0];
  // Numeric text is a number written as digits, so only strings are read as hexadecimal.
  if (x.type == ITEM_STRING || x.type == ITEM_STRING_ARRAY) return long_func_hexconvert_text(&x);
  if (x.type != ITEM_LONG) {
    int r = item_to_long(x);
    if (r < 0) return r;
  }
  if (!x.value.long_value) return argument_error(x, 41);
  return long_func_hexconvert_number(x.value.long_value);
}

}  // namespace

bool pure_numeric_function(int token) {
  switch (token) {
    case FUNC_ABS: case FUNC_ATN: case FUNC_COS: case FUNC_SIN: case FUNC_TAN: case FUNC_COT:
    case FUNC_FIX: case FUNC_INT: case FUNC_CINT: case FUNC_EXP: case FUNC_LOG: case FUNC_LOG10:
    case FUNC_SGN: case FUNC_SQR:
      return true;
    default:
      return false;
  }
}

bool pure_string_function(int token) {
  switch (token) {
    case FUNC_CHR_STR: case FUNC_LEFT_STR: case FUNC_RIGHT_STR: case FUNC_MID_STR: case FUNC_STRING_STR:
    case FUNC_SPACE_STR: case FUNC_TOLOWER_STR: case FUNC_TOUPPER_STR:
      return true;
    default:
      return false;
  }
}

bool pure_numeric_value(int token, double x, double& out) {
  if (!std::isfinite(x)) return false;
  switch (token) {
    case FUNC_ABS: out = std::fabs(x); break;
    case FUNC_FIX: out = fix_of(x); break;
    case FUNC_INT: out = int_of(x); break;
    case FUNC_CINT: out = cint_of(x); break;
    case FUNC_SGN: out = sgn_of(x); break;
    default: return false;
  }
  return std::isfinite(out);
}

int pure_numeric_call(int token, expr_item& argument) {
  // (do_function notes the column, numeric_function finds one double and
  // item_to_number leaves it a double when LONG ALL is off.)
  function_column = error_column;
  return double_unary(token, argument, argument.value.number);
}

int numeric_function(int token, expr_item* a, int count) {
  switch (token) {
    case FUNC_RND: return func_rnd(a, count);
    case FUNC_MOD: return func_mod(a, count);
    case FUNC_ROOT: return func_root(a, count);
    case FUNC_LONG: return func_long(a, count);
    case FUNC_SHORT: return func_short(a, count);
    case FUNC_HEXCONVERT: return func_hexconvert(a, count);
    default: break;
  }
  if (count != 1) return argument_count_error(a, count);
  if (token == FUNC_ABS && a[0].type == ITEM_NUMERIC_TEXT) {
    const char* text = temp_string_text(static_cast<std::uint32_t>(a[0].value.bits));
    if (text[0] == '-') ++text;
    return result_text(text, ITEM_NUMERIC_TEXT);
  }
  int t = item_to_number(a[0]);
  if (t < 0) return t;
  if (a[0].type == ITEM_LONG) return long_unary(token, a[0]);
  if (a[0].type != ITEM_DOUBLE) return argument_error(a[0], 41);
  return double_unary(token, a[0], a[0].value.number);
}
