// Expression evaluation. The items of an expression are collected into a
// small table and reduced by seven left-to-right passes, one per precedence
// level: unary signs; ^; * / %; + -; comparisons; NOT; AND, OR, EOR, XOR.
#include "interpreter/expression.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/keywords.h"
#include "interpreter/debugging.h"
#include "interpreter/run_state.h"
#include "interpreter/scan_state.h"
#include "interpreter/memo.h"
#include "interpreter/scanner.h"
#include "interpreter/short_copy.h"
#include "interpreter/temp_levels.h"
#include "interpreter/timing.h"
#include "interpreter/user_functions.h"
#include "interpreter/files.h"
#include "interpreter/functions.h"
#include "interpreter/variables.h"
#include "interpreter/output.h"
#include "rizozira/long_functions.h"
#include "rizozira/long_number.h"

int expression_depth = 0;
int evaluation_depth = 0;
array_entry* last_array_entry = nullptr;

ending_keyword expression_ending;

namespace {

// The lone literal the one-pass road delivered last, and the depth of the
// evaluation that delivered it (-1: the evaluation last entered at that depth
// delivered none).
struct delivered_literal {
  int depth = -1;
  double value = 0;
};
delivered_literal small_literal;

bool is_operator(const expr_item& item, char op) { return item.type == ITEM_OPERATOR && item.value.op == op; }
bool is_sign(const expr_item& item) { return is_operator(item, '+') || is_operator(item, '-'); }
bool is_logical(const expr_item& item, int token) {
  return item.type == ITEM_LOGICAL && item.value.token == token;
}

const char* item_text(const expr_item& item) {
  return temp_string_text(static_cast<std::uint32_t>(item.value.bits));
}

std::string indent_text() {
  int depth = expression_depth < 10 ? expression_depth : 10;
  return std::string(static_cast<std::size_t>(2 * (depth > 0 ? depth : 0)), ' ');
}

void trace_pass(int count, expr_item* table, const char* pass_name, int changed) {
  if (debug_mode && changed) trace_item_table(expression_depth, 1, count, table, pass_name);
}

// Flips a long number's sign (zero stays positive).
void negate_long(long_number* n) {
  if (!n) return;
  if (n->norm && long_is_zero(n)) return;
  n->sign = n->sign == 0 ? -1 : 0;
}

// A fresh temporary long for a result, or null (reported).
long_number* result_temp() { return long_temp_alloc(); }

// Moves a finished long result into the left operand's temporary.
int store_long_result(expr_item& left, long_number* result, int normalize_mode) {
  long_normalize(result, normalize_mode);
  int moved = long_move(result, left.value.long_value);
  if (moved < 0) return moved;
  left.type = ITEM_LONG;
  return ITEM_LONG;
}

int rounding_mode() { return integer_mode ? 0 : 1; }

// ---------------------------------------------------------------- pass 1

int unary_signs(expr_item* table, int& count, int* changed) {
  for (int i = 0; i < count;) {
    expr_item& item = table[i];
    if (!is_sign(item)) {
      ++i;
      continue;
    }
    if (i + 1 < count && table[i + 1].type == ITEM_OPERATOR && !is_sign(table[i + 1]))
      return report_error_at(item.column, err_or_sign_precede_operator_except);
    bool unary = i == 0 || table[i - 1].type == ITEM_OPERATOR || table[i - 1].type == ITEM_COMPARISON ||
                 table[i - 1].type == ITEM_LOGICAL;
    if (!unary) {
      ++i;
      continue;
    }
    if (item.value.op == '-') {
      if (i == count - 1) return report_error_at(item.column, err_unary_minus_last_item_in);
      expr_item& next = table[i + 1];
      switch (next.type) {
        case ITEM_DOUBLE:
          next.value.number = -next.value.number;
          break;
        case ITEM_LONG:
          negate_long(next.value.long_value);
          break;
        case ITEM_NUMERIC_TEXT: {
          const char* text = item_text(next);
          std::string flipped = text[0] == '-' ? std::string(text + 1) : "-" + std::string(text);
          if (flipped.size() > max_string_length) {
            // No room for the sign in a text of 255 characters: the number is
            // converted first (exactly, as a long when it needs one) and negated.
            int kind = item_to_number(next);
            if (kind < 0) return kind;
            if (kind == ITEM_DOUBLE) next.value.number = -next.value.number;
            else negate_long(next.value.long_value);
            break;
          }
          std::uint32_t offset = 0;
          int stored = text_to_temp(flipped, &offset);
          if (stored < 0) return stored;
          next.value.bits = offset;
          break;
        }
        case ITEM_OPERATOR:
          next.value.op = next.value.op == '+' ? '-' : '+';
          break;
        default:
          return report_error_at(next.column, err_invalid_expression);
      }
    } else {
      if (i == count - 1) return report_error_at(item.column, err_unary_plus_last_item);
      const expr_item& next = table[i + 1];
      bool numeric = next.type == ITEM_DOUBLE || next.type == ITEM_LONG || next.type == ITEM_NUMERIC_TEXT;
      if (!numeric && !is_sign(next)) return report_error_at(item.column, err_unary_plus_precede_or_numeric);
    }
    count = remove_items(table, i, count, 1, changed);
  }
  if (count > 0 && table[count - 1].type == ITEM_OPERATOR) return report_error_at(table[count - 1].column, err_operator_cannot_last_item_in);
  for (int i = 1; i < count; ++i)
    if (table[i].type == ITEM_OPERATOR && table[i - 1].type == ITEM_OPERATOR && !is_sign(table[i]) &&
        !is_sign(table[i - 1]))
      return report_error_at(table[i].column, err_operator_other_than_or_cannot);
  return 0;
}

// ---------------------------------------------------------------- pass 2

// Long power through the long-number routine (exp(ln(base) x exponent) with
// guard digits, its DEBUG TIMER report), rounded to the working precision.
// A power with no value is error 20 at the operator's column, as on the
// double path: also 0 to a negative power.
int long_power_items(expr_item& left, expr_item& right, std::uint32_t op_column) {
  long_number* base = left.value.long_value;
  long_number* exponent = right.value.long_value;
  if (long_is_zero(base) && !long_is_zero(exponent) && exponent->sign != 0) return report_error_at(op_column, err_power_or_root_error_result);
  long_number* power = result_temp();
  if (!power) return -1;
  error_column = static_cast<int>(op_column);
  int result = long_power(base, exponent, power);
  if (result < 0) return result;
  result = long_round_copy(power, left.value.long_value, long_precision);
  return result < 0 ? result : int{ITEM_LONG};
}

int raise_to_power(expr_item* table, int& count, int* changed) {
  for (int i = 0; i < count;) {
    if (!is_operator(table[i], '^')) {
      ++i;
      continue;
    }
    if (i == count - 1) return report_error_at(table[i].column, err_operator_cannot_last_item_in);
    if (i == 0) return report_error_at(table[i].column, err_both_items_numbers_for_or);
    expr_item& left = table[i - 1];
    expr_item& right = table[i + 1];
    int kind = unify_numeric_pair(left, right);
    if (kind < 0) return report_error_at(table[i].column, err_both_items_numbers_for_or);
    if (kind == ITEM_DOUBLE) {
      double value = std::pow(left.value.number, right.value.number);
      if (!std::isfinite(value)) return report_error_at(table[i].column, err_power_or_root_error_result);
      left.value.number = value;
    } else {
      if (integer_mode) return report_error_at(table[i].column, err_rizozira_operation_only_valid_in_162);
      std::int64_t stamp = 0;
      long_timer_begin(LONG_TIMER_POWER, stamp);
      int result = long_power_items(left, right, table[i].column);
      long_timer_end(LONG_TIMER_POWER, stamp, "\"^\"   Calc. Time: ");
      if (result < 0) return result;
    }
    count = remove_items(table, i, count, 2, changed);
  }
  return 0;
}

// ---------------------------------------------------------------- pass 3

int multiply_divide(expr_item* table, int& count, int* changed) {
  for (int i = 0; i < count;) {
    expr_item& op = table[i];
    if (!(is_operator(op, '*') || is_operator(op, '/') || is_operator(op, '%'))) {
      ++i;
      continue;
    }
    if (i == count - 1) return report_error_at(op.column, err_operator_cannot_last_item_in);
    if (i == 0) return report_error_at(op.column, err_both_items_numbers_for_or);
    expr_item& left = table[i - 1];
    expr_item& right = table[i + 1];
    char which = op.value.op;
    int kind = unify_numeric_pair(left, right);
    if (kind < 0) return report_error_at(op.column, err_both_items_numbers_for_or);
    if (kind == ITEM_DOUBLE) {
      double a = left.value.number;
      double b = right.value.number;
      double value;
      if (which == '*') {
        value = a * b;
        if (!std::isfinite(value)) return report_error_at(op.column, err_invalid_result_from_multiply_or);
      } else if (which == '/') {
        if (b == 0.0) {
          if (!math_error_ok) return report_error_at(op.column, err_attempt_to_divide_by_zero);
          math_error_flag = 1;
        }
        value = a / b;
        if (!std::isfinite(value)) {
          if (!math_error_ok) return report_error_at(op.column, err_invalid_result_from_multiply_or);
          math_error_flag = 1;
        }
      } else {
        if (b == 0.0) return report_error_at(op.column, err_attempt_to_divide_by_zero);
        value = std::fmod(a, b);
      }
      left.value.number = value;
    } else {
      long_number* a = left.value.long_value;
      long_number* b = right.value.long_value;
      int result;
      if (which == '%') {
        result = long_mod(a, b);
        if (result >= 0) result = store_long_result(left, long_accumulator, rounding_mode());
      } else {
        long_number* target = result_temp();
        if (!target) return -1;
        result = which == '*' ? long_multiply(a, b, target) : long_divide(a, b, target);
        if (result >= 0) result = store_long_result(left, target, rounding_mode());
      }
      if (result < 0) return result;
    }
    count = remove_items(table, i, count, 2, changed);
  }
  return 0;
}

// ---------------------------------------------------------------- pass 4

int join_strings(expr_item& left, const expr_item& right) {
  if (static_cast<std::uint64_t>(temp_strings_used) + 256 > temp_strings_size) return report_error(err_no_more_space_for_temporary);
  // Both parts are at most 255 characters: joined in a local buffer, cut to 255.
  char joined[2 * max_string_length + 1];
  const char* a = item_text(left);
  const char* b = item_text(right);
  std::size_t a_length = strnlen(a, max_string_length);
  std::size_t b_length = strnlen(b, max_string_length);
  std::memcpy(joined, a, a_length);
  std::memcpy(joined + a_length, b, b_length);
  std::size_t length = a_length + b_length;
  if (length > max_string_length) length = max_string_length;
  std::uint32_t offset = 0;
  int stored = text_to_temp(std::string_view(joined, length), &offset);
  if (stored < 0) return stored;
  left.value.bits = offset;
  return 0;
}

int add_subtract(expr_item* table, int& count, int* changed) {
  for (int i = 1; i < count;) {
    expr_item& op = table[i];
    if (!is_sign(op)) {
      ++i;
      continue;
    }
    if (i == count - 1) return report_error_at(op.column, err_operator_cannot_last_item_in);
    expr_item& left = table[i - 1];
    expr_item& right = table[i + 1];
    bool left_string = left.type == ITEM_STRING;
    bool right_string = right.type == ITEM_STRING;
    if (op.value.op == '+' && left_string != right_string) return report_error_at(op.column, err_type_mismatch);
    if (op.value.op == '+' && left_string && right_string) {
      int result = join_strings(left, right);
      if (result < 0) return result;
    } else {
      int kind = unify_numeric_pair(left, right);
      if (kind < 0) return report_error_at(op.column, err_both_items_numbers_for_or);
      if (kind == ITEM_DOUBLE) {
        left.value.number = op.value.op == '+' ? left.value.number + right.value.number
                                               : left.value.number - right.value.number;
      } else {
        if (op.value.op == '-') negate_long(right.value.long_value);
        long_number* target = result_temp();
        if (!target) return -1;
        int result = long_add(left.value.long_value, right.value.long_value, target);
        if (result >= 0) result = store_long_result(left, target, rounding_mode());
        if (result < 0) return result;
      }
    }
    count = remove_items(table, i, count, 2, changed);
  }
  return 0;
}

// ---------------------------------------------------------------- passes 6 and 7

int logical_not(expr_item* table, int& count, int* changed) {
  for (int i = 0; i < count;) {
    if (!is_logical(table[i], 4)) {
      ++i;
      continue;
    }
    if (i == count - 1) return report_error_at(table[i].column, err_logical_operator_cannot_last_item);
    int truth = item_truth_value(table[i + 1]);
    if (truth < 0) return truth;
    table[i + 1].type = ITEM_DOUBLE;
    table[i + 1].value.number = truth ? 0.0 : 1.0;
    count = remove_items(table, i, count, 1, changed);
  }
  return 0;
}

int logical_operators_pass(expr_item* table, int& count, int* changed) {
  for (int token = 0; token < 4; ++token) {  // AND, OR, EOR, XOR in that order
    for (int i = 0; i < count;) {
      if (!is_logical(table[i], token)) {
        ++i;
        continue;
      }
      if (i == count - 1) return report_error_at(table[i].column, err_logical_operator_cannot_last_item);
      if (i == 0) return report_error_at(table[i].column, err_logical_operator_cannot_first_item);
      int a = item_truth_value(table[i - 1]);
      if (a < 0) return a;
      int b = item_truth_value(table[i + 1]);
      if (b < 0) return b;
      int value = token == 0 ? (a && b) : token == 1 ? (a || b) : (a != b);
      table[i - 1].type = ITEM_DOUBLE;
      table[i - 1].value.number = value;
      count = remove_items(table, i, count, 2, changed);
    }
  }
  return 0;
}

// ---------------------------------------------------------------- result

int deliver_result(expr_item& item) {
  switch (item.type) {
    case ITEM_DOUBLE:
      double_accumulator = item.value.number;
      return ITEM_DOUBLE;
    case ITEM_STRING:
    case ITEM_NUMERIC_TEXT: {
      const char* text = item_text(item);
      std::size_t length = strnlen(text, max_string_length);
      std::memcpy(string_accumulator, text, length);
      string_accumulator[length] = '\0';
      string_accumulator_length = static_cast<std::int32_t>(length);
      return static_cast<int>(item.type);
    }
    case ITEM_LONG: {
      long_number* value = item.value.long_value;
      int result;
      if (!integer_mode && value && value->len > long_precision)
        result = long_round_copy(value, long_accumulator, long_precision);
      else
        result = long_move(value, long_accumulator);
      if (result < 0) return result;
      long_debug_dump("ee", long_accumulator, 1);
      return ITEM_LONG;
    }
    case ITEM_NUMERIC_ARRAY:
    case ITEM_STRING_ARRAY:
      return static_cast<int>(item.type);
    default:
      return report_error_at(item.column, err_invalid_expression);
  }
}

}  // namespace

int remove_items(expr_item* table, int index, int count, int n, int* changed) {
  if (index < 0 || n <= 0 || index + n > count) return count;
  std::memmove(table + index, table + index + n, sizeof(expr_item) * static_cast<std::size_t>(count - index - n));
  if (changed) *changed = 1;
  error_column = 0;
  return count - n;
}

int item_truth_value(expr_item& item) {
  if (item.type == ITEM_STRING) return item_text(item)[0] != '\0' ? 1 : 0;
  int kind = item_to_number(item);
  if (kind < 0) return report_error_at(item.column, err_invalid_logical_expression);
  if (kind == ITEM_DOUBLE) return item.value.number != 0.0 ? 1 : 0;
  if (kind == ITEM_LONG) {
    const long_number* n = item.value.long_value;
    return n && !long_is_zero(n) ? 1 : 0;
  }
  return report_error_at(item.column, err_invalid_logical_expression);
}

int do_comparisons(expr_item* table, int count, int* changed) {
  for (int i = 0; i < count;) {
    if (table[i].type != ITEM_COMPARISON) {
      ++i;
      continue;
    }
    if (i == 0) return report_error_at(table[i].column, err_first_item_in_logical_expression);
    if (i == count - 1) break;  // left for the final check (error 71)
    expr_item& left = table[i - 1];
    expr_item& right = table[i + 1];
    int code = static_cast<int>(table[i].value.token);
    int order;
    if (left.type == ITEM_STRING && right.type != ITEM_STRING) return report_error_at(right.column, err_invalid_type_expecting_string);
    if (left.type == ITEM_STRING) {
      order = std::strcmp(item_text(left), item_text(right));
    } else {
      int kind = unify_numeric_pair(left, right);
      if (kind < 0) return report_error_at(table[i].column, err_type_mismatch);
      if (kind == ITEM_DOUBLE) {
        double a = left.value.number;
        double b = right.value.number;
        order = a < b ? -1 : a > b ? 1 : 0;
        if (a != a || b != b) order = 2;  // NaN: only "<>" holds
      } else {
        order = long_compare(left.value.long_value, right.value.long_value);
        long_clear(left.value.long_value);
        long_clear(right.value.long_value);
      }
    }
    bool truth;
    switch (code) {
      case 0: truth = order == 0; break;
      case 1: truth = order < 0; break;
      case 2: truth = order > 0 && order != 2; break;
      case 3: truth = order <= 0; break;
      case 4: truth = order >= 0 && order != 2; break;
      default: truth = order != 0; break;
    }
    left.type = ITEM_DOUBLE;
    left.array = nullptr;
    left.value.number = truth ? 1.0 : 0.0;
    count = remove_items(table, i, count, 2, changed);
  }
  return count;
}

namespace {

// Which kinds of operator an item is, as bits: a pass whose kind is absent
// from the whole table has nothing to do and is skipped.
constexpr unsigned has_any_operator = 1;
constexpr unsigned has_power = 2;
constexpr unsigned has_multiply = 4;
constexpr unsigned has_sign = 8;
constexpr unsigned has_comparison = 16;
constexpr unsigned has_not = 32;
constexpr unsigned has_logical = 64;

unsigned operator_kind(const expr_item& item) {
  switch (item.type) {
    case ITEM_OPERATOR:
      switch (item.value.op) {
        case '^': return has_any_operator | has_power;
        case '*': case '/': case '%': return has_any_operator | has_multiply;
        case '+': case '-': return has_any_operator | has_sign;
        default: return has_any_operator;
      }
    case ITEM_COMPARISON: return has_comparison;
    case ITEM_LOGICAL: return item.value.token == LOGICAL_NOT ? has_not : has_logical;
    default: return 0;
  }
}


// The seven passes over a collected table, each skipped when the table holds
// nothing it acts on. Leaves the one remaining item in table[0]; 0 or a
// negative code.
int reduce_table(expr_item* table, int& count, unsigned kinds) {
  struct pass {
    int (*run)(expr_item*, int&, int*);
    const char* name;
    unsigned needs;  // the operator kinds the pass acts on
  };
  static const pass passes[] = {
      {unary_signs, "functions and unary - and +", has_any_operator},
      {raise_to_power, "raise to power", has_power},
      {multiply_divide, "multiply and divide", has_multiply},
      {add_subtract, "add and subtract", has_sign},
      {nullptr, "comparison operations", has_comparison},
      {logical_not, "Logical NOT", has_not},
      {logical_operators_pass, "Logical AND, OR, XOR, EOR", has_logical},
  };
  for (const pass& step : passes) {
    if (!(kinds & step.needs)) continue;  // the pass would change nothing
    int changed = 0;
    int result;
    if (step.run) {
      result = step.run(table, count, &changed);
    } else {
      result = do_comparisons(table, count, &changed);
      if (result >= 0) count = result;
    }
    if (result < 0) return result;
    trace_pass(count, table, step.name, changed);
  }
  error_column = static_cast<int>(table[0].column);
  if (count != 1) return report_error(err_invalid_expression);
  return 0;
}

// ------------------------------------------------------ remembered expressions
//
// An expression of the pre-scanned text whose items are all simple (double
// variables, double array elements, small integer literals, + - * / and
// comparisons) is remembered by its place in the text after its first
// evaluation. Run again, it is evaluated in one pass in the order the passes
// would give (* and / left to right, then + and -, then the comparisons),
// with the same side effects on the scanner's state: array elements and the
// item that ends the expression are still read by get_item. Anything the
// passes would treat apart (a division by zero, a result that is not finite,
// a NaN compared) sends the expression down the general road from its start;
// so does any change to what the items depend on.

// FAST_READ: an item read again through get_item (an array element, a
// function call, a parenthesised expression), as the general road reads it.
// FAST_ELEMENT: a double array element, read again through the array found
// the first time (the memo holds only while no array is added or erased).
// FAST_STRING_VARIABLE: a simple string variable. FAST_STRING_LITERAL: a
// string literal without escapes (its text between the quotes).
// FAST_FUNCTION: a built-in function call, read again through the token
// found the first time (get_function_item). FAST_PARAMETER: a double
// parameter of the running call, by its position in the definition (the memo
// holds only while a call of the same definition is the innermost one).
enum fast_kind : std::uint8_t {
  FAST_VARIABLE,
  FAST_LITERAL,
  FAST_READ,
  FAST_OPERATOR,
  FAST_COMPARISON,
  FAST_ELEMENT,
  FAST_STRING_VARIABLE,
  FAST_STRING_LITERAL,
  FAST_FUNCTION,
  FAST_PARAMETER,
};

// Plain data without initialisers: the recorder on every general evaluation
// fills only the items it uses.
struct fast_item {
  std::uint8_t kind;
  char op;                    // operator character or comparison code
  std::uint8_t name_length;   // of a name, a numeric literal, a string literal's text
  char after;                 // char_after_name of a variable
  std::uint16_t line_column;  // where the item starts in the line
  std::uint32_t column;       // the item's column (from the statement start)
  std::int32_t variable;      // variable, array, function token or parameter position
  double value;               // a literal's value
};

constexpr int fast_items_max = 15;

// A variable some definition has a parameter named like: a running call of
// it would hide the variable.
constexpr std::uint8_t call_hideable = 1;
// Parameters of the call that was innermost when the memo was recorded.
constexpr std::uint8_t call_parameters = 2;
static_assert(user_function_capacity <= 256, "a definition's index fits a memo's byte");

struct expression_memo {
  std::uint16_t flags = 0;
  std::uint16_t end_column = 0;    // where the item that ends the expression starts
  std::uint32_t first_column = 0;  // column of the first item
  std::uint32_t literal_bytes = 0; // temporary-string bytes the literals take
  std::uint8_t count = 0;
  std::uint8_t result_type = 0;  // set when recorded: ITEM_DOUBLE, or ITEM_NUMERIC_TEXT for a lone literal
  // What the memo's items depend on among the running calls (call_* bits):
  // 0 for none, so that one test passes the memos of most expressions.
  std::uint8_t calls = 0;
  // (Bits of one byte: the memo stays as large as a slot allows.)
  bool plain : 1 = false;      // only double variables, numeric literals, operators and comparisons
  bool joins : 1 = false;      // operands that may be strings, "+" between them
  bool plain_elements : 1 = false;  // plain, and double array elements (no other item read through get_item)
  // Plain but for parameters of the running call among its operands (plain
  // and plain_elements are then false).
  bool plain_parameters : 1 = false;
  // The item that ends the expression, when it is a statement keyword (THEN,
  // TO, ...): its token, the length of its name and the character behind it.
  bool end_keyword : 1 = false;
  // Strings joined by "+": string variables, string literals and calls of
  // pure string functions (pure_string_function).
  bool string_joins : 1 = false;
  std::uint8_t end_length = 0;
  char end_after = 0;
  std::uint8_t parameter_mask = 0;  // bit i: holds parameter i
  std::uint8_t call_index = 0;      // the definition whose parameters it holds (its index)
  std::int32_t end_token = 0;
  fast_item items[fast_items_max];
};

memo_table<expression_memo, 2048> expression_memos;

// Whether the modes leave literals and doubles alone, as the memo assumes.
bool fast_modes() {
  return !long_all_mode && !integer_mode && !long_old_convert && !long_timer_flags[LONG_TIMER_CONVERT] &&
         field_count == 0;
}

// Whether every built-in call among the items of memo (recorded on the line
// being read) has a remembered plain argument list now: a join whose calls
// are read the long way is not tried on the one-pass road each time. Out of
// line: the lists stay out of the frame of the evaluation that recurses.
[[gnu::noinline]] bool calls_have_plain_lists(const expression_memo& memo) {
  plain_element call;
  for (int k = 0; k < memo.count; k += 2) {
    const fast_item& f = memo.items[k];
    if (f.kind == FAST_FUNCTION && !peek_list_call(line_start + f.line_column, f.name_length, call)) return false;
  }
  return true;
}

// Builds the memo of an expression while the general road collects its items.
struct expression_recorder {
  memo_key key = 0;
  memo_stamp stamp = 0;  // when the recording began
  expression_memo memo;
  bool usable = false;
  const char* end = nullptr;  // where the item that ended the expression starts

  void start(memo_key at, int flags) {
    key = at;
    stamp = ::memo.stamp;
    usable = key != 0 && fast_modes();
    memo.count = 0;
    memo.flags = static_cast<std::uint16_t>(flags);
    memo.literal_bytes = 0;
    memo.calls = 0;
    memo.parameter_mask = 0;
    memo.call_index = 0;
    memo.end_keyword = false;
  }

  // The expression ended on the statement keyword item just read, its name
  // starting at name_start and the scanner behind it.
  void ended_on_keyword(const expr_item& item, const char* name_start) {
    const std::ptrdiff_t length = scan_pointer - name_start;
    if (!usable || length <= 0 || length > 255 || item.value.token < 0 || item.value.token > 0x7FFFFFFF) return;
    memo.end_keyword = true;
    memo.end_length = static_cast<std::uint8_t>(length);
    memo.end_after = char_after_name;
    memo.end_token = static_cast<std::int32_t>(item.value.token);
  }

  // One collected item, starting at item_start (blanks passed).
  void add(const expr_item& item, const char* item_start) {
    if (!usable) return;
    if (memo.count >= fast_items_max || item_start < line_start || item_start - line_start > 0xFFFF) {
      usable = false;
      return;
    }
    const bool operand_expected = memo.count % 2 == 0;
    fast_item f{};
    f.line_column = static_cast<std::uint16_t>(item_start - line_start);
    if (item.type == ITEM_OPERATOR) {
      char op = item.value.op;
      if (operand_expected || !(op == '+' || op == '-' || op == '*' || op == '/')) return fail();
      f.kind = FAST_OPERATOR;
      f.op = op;
    } else if (item.type == ITEM_COMPARISON) {
      if (operand_expected) return fail();
      f.kind = FAST_COMPARISON;
      f.op = static_cast<char>(item.value.token);
    } else if (!operand_expected) {
      return fail();
    } else if (item.type == ITEM_DOUBLE) {
      int index = item.array == nullptr ? simple_variable(item_start) : -1;
      int position = item.array == nullptr && index < 0 ? parameter(item_start) : -1;
      if (position >= 0) {
        f.kind = FAST_PARAMETER;
        memo.calls |= call_parameters;
        memo.parameter_mask = static_cast<std::uint8_t>(memo.parameter_mask | (1u << position));
        memo.call_index = static_cast<std::uint8_t>(user_call_chain->index);
        f.variable = position;
        f.name_length = static_cast<std::uint8_t>(scan_pointer - item_start);
        f.after = char_after_name;
      } else if (index >= 0) {
        f.kind = FAST_VARIABLE;
        f.variable = index;
        f.name_length = static_cast<std::uint8_t>(scan_pointer - item_start);
        f.after = char_after_name;
      } else if (!function_call(item, item_start, f)) {
        f.kind = FAST_READ;
        std::size_t length = item.array != nullptr ? element_name_length(item_start) : 0;
        if (length > 0 && length <= max_name_length) {
          f.kind = FAST_ELEMENT;
          f.variable = static_cast<std::int32_t>(item.array - array_table);
          f.name_length = static_cast<std::uint8_t>(length);
        }
      }
    } else if (item.type == ITEM_STRING) {
      int index = -1;
      if (item.array == nullptr && string_literal(item_start, f)) {
        // (the literal's kind and length are set)
      } else if (item.array == nullptr && (index = simple_variable(item_start, ITEM_STRING)) >= 0) {
        f.kind = FAST_STRING_VARIABLE;
        f.variable = index;
        f.name_length = static_cast<std::uint8_t>(scan_pointer - item_start);
        f.after = char_after_name;
      } else if (!function_call(item, item_start, f)) {
        f.kind = FAST_READ;
      }
    } else if (item.type == ITEM_NUMERIC_TEXT) {
      // Small integers only: the general road converts them exactly.
      std::size_t length = static_cast<std::size_t>(scan_pointer - item_start);
      if (length == 0 || length > 9) return fail();
      double value = 0;
      for (std::size_t k = 0; k < length; ++k) {
        char c = item_start[k];
        if (c < '0' || c > '9') return fail();
        value = value * 10 + (c - '0');
      }
      f.kind = FAST_LITERAL;
      f.value = value;
      f.name_length = static_cast<std::uint8_t>(length);
      memo.literal_bytes += static_cast<std::uint32_t>(length) + 1;
    } else {
      return fail();
    }
    if (memo.count == 0) memo.first_column = item.column;
    f.column = item.column;
    memo.items[memo.count++] = f;
  }

  void fail() { usable = false; }

  // A built-in function call the item memo knows (f filled in), else false.
  bool function_call(const expr_item& item, const char* item_start, fast_item& f) const {
    if (item.array != nullptr) return false;
    std::size_t length = 0;
    const int token = remembered_function_token(item_start, memo.flags, length);
    if (token < 0) return false;
    f.kind = FAST_FUNCTION;
    f.variable = token;
    f.name_length = static_cast<std::uint8_t>(length);
    return true;
  }

  // A string literal without escapes just read from item_start (f filled
  // in), else false.
  static bool string_literal(const char* item_start, fast_item& f) {
    if (*item_start != '"') return false;
    const std::size_t length = static_cast<std::size_t>(scan_pointer - item_start);
    if (length < 2 || length - 2 > 254 || scan_pointer[-1] != '"') return false;
    for (std::size_t k = 1; k + 1 < length; ++k)
      if (item_start[k] == '\\' || item_start[k] == '"') return false;
    f.kind = FAST_STRING_LITERAL;
    f.name_length = static_cast<std::uint8_t>(length - 2);
    return true;
  }

  // The length of the name of the element the item just read (its text
  // from item_start to "("), or 0 when it is not written as name(...).
  static std::size_t element_name_length(const char* item_start) {
    const char* p = item_start;
    while (p < line_end && ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z') || (*p >= '0' && *p <= '9') ||
                            *p == '_' || *p == '$'))
      ++p;
    const char* q = p;
    while (q < line_end && (*q == ' ' || *q == '\t')) ++q;
    return q < line_end && *q == '(' ? static_cast<std::size_t>(p - item_start) : 0;
  }

  // The position of the double parameter of the innermost running call the
  // item just read is, or -1: its slot is that parameter's and its text is
  // the parameter's name (the first of the definition's parameters named so:
  // the one a name finds).
  static int parameter(const char* item_start) {
    const user_call_frame* frame = user_call_chain;
    if (!item_is_parameter || frame == nullptr || current_value_slot == nullptr) return -1;
    const user_function* function = frame->function;
    for (std::uint32_t i = 0; i < function->param_count && i < user_function_max_params; ++i) {
      if (current_value_slot != &frame->params[i].value) continue;
      if (frame->params[i].type != ITEM_DOUBLE) return -1;
      const std::size_t length = static_cast<std::size_t>(scan_pointer - item_start);
      if (length == 0 || length > max_name_length ||
          !names_equal(std::string_view(item_start, length), function->params[i].name))
        return -1;
      return static_cast<int>(i);
    }
    return -1;
  }

  // The index of the simple variable the item just read is, or -1: its slot
  // is in the variable table and its text is that variable's name (a
  // function's result also leaves a slot behind).
  static int simple_variable(const char* item_start, std::uint32_t type = ITEM_DOUBLE) {
    if (item_is_parameter || current_value_slot == nullptr || variable_count == 0) return -1;
    const auto* slot_bytes = reinterpret_cast<const unsigned char*>(current_value_slot);
    const auto* base = reinterpret_cast<const unsigned char*>(&variable_table[0].value);
    if (slot_bytes < base) return -1;
    std::size_t distance = static_cast<std::size_t>(slot_bytes - base);
    if (distance % sizeof(variable_entry) != 0) return -1;
    std::size_t index = distance / sizeof(variable_entry);
    if (index >= variable_count || variable_table[index].type != type) return -1;
    std::size_t length = static_cast<std::size_t>(scan_pointer - item_start);
    if (length == 0 || length > 60 ||
        !names_equal(std::string_view(item_start, length), variable_name(variable_table[index])))
      return -1;
    return static_cast<int>(index);
  }

  // The expression ended with a result of type result (a double, a string,
  // or the text of a lone literal).
  void finish(int result) {
    // A change during the evaluation (a function called in it that created,
    // erased or dimensioned something) may have made the items found before
    // it stand for something else now.
    if (!usable || end == nullptr || !memo_holds(stamp) || memo.count % 2 == 0 || end < line_start ||
        end - line_start > 0xFFFF)
      return;
    const bool lone_literal = memo.count == 1 && memo.items[0].kind == FAST_LITERAL;
    if (lone_literal != (result == ITEM_NUMERIC_TEXT)) return;
    memo.result_type = static_cast<std::uint8_t>(result);
    memo.plain = true;
    memo.plain_elements = true;
    memo.plain_parameters = false;
    memo.joins = true;
    memo.string_joins = result == ITEM_STRING;
    for (int k = 0; k < memo.count; ++k) {
      const fast_item& f = memo.items[k];
      const bool plain_kind = f.kind == FAST_VARIABLE || f.kind == FAST_PARAMETER || f.kind == FAST_LITERAL ||
                              f.kind == FAST_OPERATOR || f.kind == FAST_COMPARISON;
      if (!plain_kind) memo.plain = false;
      if (!plain_kind && f.kind != FAST_ELEMENT && !(f.kind == FAST_FUNCTION && pure_numeric_function(f.variable)))
        memo.plain_elements = false;
      if (k % 2 == 1 ? f.kind != FAST_OPERATOR || f.op != '+'
                     : f.kind == FAST_VARIABLE || f.kind == FAST_PARAMETER || f.kind == FAST_LITERAL ||
                           f.kind == FAST_ELEMENT)
        memo.joins = false;
      if (k % 2 == 0 && f.kind != FAST_STRING_VARIABLE && f.kind != FAST_STRING_LITERAL &&
          !(f.kind == FAST_FUNCTION && pure_string_function(f.variable)))
        memo.string_joins = false;
      if ((f.kind == FAST_VARIABLE || f.kind == FAST_STRING_VARIABLE) && user_function_count > 0 &&
          is_user_function_parameter_name(std::string_view(line_start + f.line_column, f.name_length)))
        memo.calls |= call_hideable;
    }
    memo.string_joins = memo.string_joins && memo.joins && calls_have_plain_lists(memo);
    if (memo.calls & call_parameters) {
      memo.plain_parameters = memo.plain;
      memo.plain = false;
      memo.plain_elements = false;
    }
    memo.end_column = static_cast<std::uint16_t>(end - line_start);
    expression_memos.store(key, stamp) = memo;
  }
};

// Whether the items of memo name now what they named when it was recorded,
// as far as the running calls go: no call hides one of its variables, and
// its parameters are those of the innermost call, doubles in it.
inline bool calls_agree(const expression_memo& memo) {
  if (memo.calls == 0) return true;
  const user_call_frame* frame = user_call_chain;
  if (frame == nullptr) return !(memo.calls & call_parameters);
  if (memo.calls & call_hideable) return false;
  return frame->index == memo.call_index && (frame->double_params & memo.parameter_mask) == memo.parameter_mask;
}

// The remembered expression for key when it still holds, else null.
[[gnu::noinline]] const expression_memo* remembered_expression(memo_key key, int flags) {
  const expression_memo* memo = expression_memos.find(key);
  if (!memo || memo->flags != flags || !calls_agree(*memo) || !fast_modes()) return nullptr;
  return memo;
}

// The slot of parameter position of the innermost running call (calls_agree
// held for the memo that names it).
inline value_slot& parameter_slot(std::int32_t position) { return user_call_chain->params[position].value; }

// Combines a and b by op the way the passes do; false when the passes would
// report something or set a flag (the general road then runs).
inline bool fast_arithmetic(char op, double a, double b, double& out) {
  switch (op) {
    case '*': out = a * b; return std::isfinite(out);
    case '/': if (b == 0.0) return false; out = a / b; return std::isfinite(out);
    case '+': out = a + b; return true;
    default: out = a - b; return true;
  }
}

inline bool fast_comparison(int code, double a, double b, double& out) {
  if (a != a || b != b) return false;
  int order = a < b ? -1 : a > b ? 1 : 0;
  bool truth;
  switch (code) {
    case 0: truth = order == 0; break;
    case 1: truth = order < 0; break;
    case 2: truth = order > 0; break;
    case 3: truth = order <= 0; break;
    case 4: truth = order >= 0; break;
    default: truth = order != 0; break;
  }
  out = truth ? 1.0 : 0.0;
  return true;
}

// Combines the operands of a remembered expression (operands[k] for the
// items at even k) into value: * and /, then + and -, then comparisons, each
// left to right, as the passes combine them. False when the passes would
// treat something apart.
template <class item_type>
bool combine_items(int count, const item_type* items, const double* operands, double& value) {
  if (count == 1) {
    value = operands[0];
    return true;
  }
  if (count == 3) {
    const item_type& op = items[1];
    return op.kind == FAST_OPERATOR ? fast_arithmetic(op.op, operands[0], operands[2], value)
                                    : fast_comparison(op.op, operands[0], operands[2], value);
  }
  // One pass: a term gathers * and /, a sum gathers the terms by + and -,
  // and each comparison compares what the sums before and after it give.
  double term = operands[0];
  double sum = 0;
  char add_op = 0;  // the + or - waiting for the term, 0 before the first
  double compared = 0;
  int compare_code = -1;  // the comparison waiting for the next sum
  auto close_sum = [&]() {
    if (add_op == 0) return term;
    double out = 0;
    fast_arithmetic(add_op, sum, term, out);
    return out;
  };
  for (int k = 1; k < count; k += 2) {
    const item_type& op = items[k];
    const double next = operands[k + 1];
    if (op.kind == FAST_OPERATOR && (op.op == '*' || op.op == '/')) {
      if (!fast_arithmetic(op.op, term, next, term)) return false;
    } else if (op.kind == FAST_OPERATOR) {
      sum = close_sum();
      add_op = op.op;
      term = next;
    } else {
      const double closed = close_sum();
      if (compare_code < 0) compared = closed;
      else if (!fast_comparison(compare_code, compared, closed, compared)) return false;
      compare_code = op.op;
      add_op = 0;
      term = next;
    }
  }
  const double closed = close_sum();
  if (compare_code < 0) {
    value = closed;
    return true;
  }
  return fast_comparison(compare_code, compared, closed, value);
}

bool fast_combine(const expression_memo& memo, const double* operands, double& value) {
  return combine_items(memo.count, memo.items, operands, value);
}

// A literal's text into the string accumulator, as reading it leaves it.
void literal_to_accumulator(const fast_item& literal) {
  leave_text(line_start + literal.line_column, literal.name_length);
}

// What a skipped expression gives: 0, or the empty string when it starts
// with a string.
int skipped_result(bool starts_with_string) {
  leave_skipped_value();
  return starts_with_string ? ITEM_STRING : ITEM_DOUBLE;
}

// The statement keyword item just read, which started at start: the
// expression ends there.
void note_ending_keyword(const char* start, const expr_item& item) {
  expression_ending.valid = true;
  expression_ending.line = line_start;
  expression_ending.at = start;
  expression_ending.behind = scan_pointer;
  expression_ending.token = item.value.token;
}

// The item that ends a remembered expression, read as the general road
// reads it. The line end, ":" and a list's ")", "," or ";" are taken here as
// get_item takes them (it then consumes the list's mark); anything else
// through it. 0 or a negative error.
int read_ending_item(const expression_memo& memo, int flags) {
  scan_pointer = line_start + memo.end_column;
  const char* end_start = scan_pointer;
  const char end_mark = skip_blanks();
  const bool in_parens = flags & GI_IN_PARENS;
  expression_ending.valid = false;
  if ((end_mark == ')' && in_parens) || ((flags & GI_LIST) && (end_mark == ',' || end_mark == ';'))) {
    ++scan_pointer;
    leave_no_name();
  } else if ((end_mark == '\0' || end_mark == ':') && !in_parens) {
    leave_no_name();
  } else if (memo.end_keyword && !in_parens) {
    // A keyword, as get_item reads it (the memo holds: the keyword tables
    // are as they were).
    element_name_unused = false;
    leave_no_name();
    copy_short(current_name, scan_pointer, memo.end_length);
    current_name[memo.end_length] = '\0';
    char_after_name = memo.end_after;
    scan_pointer += memo.end_length;
    expr_item end_item;
    end_item.value.token = memo.end_token;
    note_ending_keyword(end_start, end_item);
    scan_pointer = end_start;
  } else {
    scan_pointer = end_start;
    expr_item end_item;
    int ended = get_item(end_item, flags);
    if (ended < 0) return report_error(err_return_get_item);
    if (ended != 0) {
      if (end_item.type == ITEM_STATEMENT && (flags & GI_IN_PARENS)) return report_error_at(end_item.column, err_statement_inside_expression);
      if (end_item.type == ITEM_STATEMENT) note_ending_keyword(end_start, end_item);
      scan_pointer = end_start;
    }
  }
  return 0;
}

// The slot of an operand that is a variable or, where the memo holds
// parameters, a parameter.
template <bool parameters>
[[gnu::always_inline]] inline value_slot& operand_slot(const fast_item& f) {
  if (parameters && f.kind == FAST_PARAMETER) return parameter_slot(f.variable);
  return variable_table[f.variable].value;
}

// Whether the operand is a variable or, where the memo holds parameters, a
// parameter.
template <bool parameters>
[[gnu::always_inline]] inline bool is_variable_operand(const fast_item& f) {
  return f.kind == FAST_VARIABLE || (parameters && f.kind == FAST_PARAMETER);
}

// The passes over the items of a remembered expression whose operands were
// read into operands (the literals' room taken at offsets, an element's or a
// call's entry in elements, when given): the table is built only here, where
// the one pass cannot combine them exactly. Out of line: it is rarely taken,
// and its table stays out of the frame of the evaluation that recurses.
[[gnu::noinline]] int reduce_operands(const expression_memo& memo, const double* operands,
                                      const std::uint32_t* offsets, const plain_element* elements) {
  alignas(expr_item) unsigned char table_room[sizeof(expr_item) * fast_items_max];
  expr_item* const table = reinterpret_cast<expr_item*>(table_room);
  unsigned kinds = 0;
  for (int k = 0; k < memo.count; ++k) {
    const fast_item& f = memo.items[k];
    expr_item& item = *new (&table[k]) expr_item{};
    item.column = f.column;
    switch (f.kind) {
      case FAST_VARIABLE:
      case FAST_PARAMETER:
        item.type = ITEM_DOUBLE;
        item.value.number = operands[k];
        break;
      case FAST_ELEMENT:
      case FAST_FUNCTION:
        item.type = ITEM_DOUBLE;
        item.value.number = operands[k];
        item.array = elements[k / 2].entry;
        break;
      case FAST_LITERAL: {
        // The text in the room taken for it.
        char* const text = temp_strings + offsets[k];
        copy_short(text, line_start + f.line_column, f.name_length);
        text[f.name_length] = '\0';
        item.type = ITEM_NUMERIC_TEXT;
        item.value.bits = offsets[k];
        break;
      }
      case FAST_OPERATOR:
        item.type = ITEM_OPERATOR;
        item.value.op = f.op;
        break;
      default:
        item.type = ITEM_COMPARISON;
        item.value.token = f.op;
        break;
    }
    kinds |= operator_kind(item);
  }
  int count = memo.count;
  int reduced = reduce_table(table, count, kinds);
  return reduced < 0 ? reduced : deliver_result(table[0]);
}

// The end of a one-pass evaluation whose operands were read: the item that
// ends the expression, then its value (a lone literal's text, or the
// operands combined, through the passes where the one pass cannot combine
// them exactly).
[[gnu::always_inline]] inline int finish_one_pass(const expression_memo& memo, int flags, const double* operands,
                                                  const std::uint32_t* offsets, const plain_element* elements) {
  if (int ended = read_ending_item(memo, flags); ended < 0) return ended;
  if (no_execute) return skipped_result(false);
  last_array_entry = nullptr;
  if (memo.result_type == ITEM_NUMERIC_TEXT) {
    // A lone literal: its text is the result, in the string accumulator.
    literal_to_accumulator(memo.items[0]);
    small_literal.depth = evaluation_depth;
    small_literal.value = memo.items[0].value;
    error_column = static_cast<int>(memo.first_column);
    return ITEM_NUMERIC_TEXT;
  }
  double value = 0;
  if (fast_combine(memo, operands, value)) {
    error_column = static_cast<int>(memo.first_column);
    double_accumulator = value;
    return ITEM_DOUBLE;
  }
  return reduce_operands(memo, operands, offsets, elements);
}

// A plain remembered expression (memo.plain, or memo.plain_parameters with
// parameters true): its variables, parameters and literals read straight
// into the operands, the literals' room in the temporary strings taken in
// order (their texts written there only when the passes read them), and the
// scan state left as reading them leaves it; the table of items is built
// only when the passes must combine them.
template <bool parameters>
[[gnu::always_inline]] inline int evaluate_plain(const expression_memo& memo, int flags) {
  double operands[fast_items_max];
  std::uint32_t offsets[fast_items_max];
  int last_literal = -1;
  int last_variable = -1;
  for (int k = 0; k < memo.count; k += 2) {
    const fast_item& f = memo.items[k];
    if (is_variable_operand<parameters>(f)) {
      operands[k] = operand_slot<parameters>(f).number;
      last_variable = k;
    } else {
      if (reserve_temp(f.name_length, &offsets[k]) < 0) return -14;
      operands[k] = f.value;
      last_literal = k;
    }
  }
  if (last_variable >= 0) {
    const fast_item& f = memo.items[last_variable];
    leave_variable(&operand_slot<parameters>(f), f.after);
    if (parameters && f.kind == FAST_PARAMETER) item_is_parameter = 1;
  }
  if (last_literal >= 0) literal_to_accumulator(memo.items[last_literal]);
  return finish_one_pass(memo, flags, operands, offsets, nullptr);
}

// What evaluate_plain_elements returns when an element's subscripts are not
// remembered plain expressions this time (nothing was changed).
constexpr int elements_not_plain = -100002;

// A remembered expression of variables, literals, double array elements
// whose subscripts are remembered plain expressions and pure numeric
// functions of one such expression (memo.plain_elements): no item calls
// anything that changes what the memo depends on, so the elements and calls
// are found first without a change,
// then every item leaves the scan state in order as reading it leaves it,
// and the values combine as in evaluate_plain. elements_not_plain, with
// nothing changed, when an element is not such an element now.
[[gnu::noinline]] int evaluate_plain_elements(const expression_memo& memo, int flags) {
  plain_element elements[fast_items_max / 2 + 1];
  std::uint64_t temp_bytes = memo.literal_bytes;
  for (int k = 0; k < memo.count; k += 2) {
    const fast_item& f = memo.items[k];
    if (f.kind != FAST_ELEMENT && f.kind != FAST_FUNCTION) continue;
    plain_element& element = elements[k / 2];
    const char* const name_at = line_start + f.line_column;
    if (f.kind == FAST_ELEMENT ? !peek_plain_element(name_at, f.name_length, f.variable, element)
                               : !peek_plain_call(name_at, f.name_length, element))
      return elements_not_plain;
    temp_bytes += element.list.temp_bytes;
  }
  // The room each list takes is checked against what the items before it
  // took: with all of it free, every check passes.
  if (temp_strings_used + temp_bytes > temp_strings_size) return elements_not_plain;
  double operands[fast_items_max];
  std::uint32_t offsets[fast_items_max];
  int last_literal = -1;
  int last_text = -1;  // the last element whose subscripts leave a literal's text
  for (int k = 0; k < memo.count; k += 2) {
    const fast_item& f = memo.items[k];
    if (f.kind == FAST_VARIABLE) {
      value_slot& slot = variable_table[f.variable].value;
      operands[k] = slot.number;
      leave_variable(&slot, f.after);
    } else if (f.kind == FAST_ELEMENT) {
      const plain_element& element = elements[k / 2];
      take_plain_element(element, line_start + f.line_column, f.name_length);
      operands[k] = element.slot->number;
      if (element.has_text) last_text = k;
    } else if (f.kind == FAST_FUNCTION) {
      // A pure function gives a double or reports an error.
      const plain_element& call = elements[k / 2];
      if (take_plain_call(call, line_start + f.line_column, f.name_length, f.variable, operands[k]) < 0)
        return report_error(err_return_get_item);
      if (call.has_text) last_text = k;
    } else {
      if (reserve_temp(f.name_length, &offsets[k]) < 0) return -14;
      operands[k] = f.value;
      last_literal = k;
    }
  }
  if (last_literal > last_text) literal_to_accumulator(memo.items[last_literal]);
  return finish_one_pass(memo, flags, operands, offsets, elements);
}

// The text of a string variable's or string literal's item.
inline std::string_view string_operand_text(const fast_item& f) {
  if (f.kind == FAST_STRING_VARIABLE) {
    const char* const text = string_space_text(variable_table[f.variable].value.string_offset);
    return {text, strnlen(text, max_string_length)};
  }
  return {line_start + f.line_column + 1, f.name_length};
}

// The same, read as reading it leaves the scan state (a variable's slot and
// the character behind it).
inline std::string_view take_string_operand(const fast_item& f) {
  if (f.kind == FAST_STRING_VARIABLE) leave_variable(&variable_table[f.variable].value, f.after);
  return string_operand_text(f);
}

// A remembered join of strings (memo.string_joins), the statement running:
// every call's arguments a remembered plain list, so that nothing read
// changes what the memo depends on. The items leave the scan state in order
// as reading them leaves it and take the room in the temporary strings the
// general road takes for them and for the joins, and the texts are joined
// as they are read (join_all's cuts and room): the temporary copies the
// general road makes are never read again. elements_not_plain, with nothing
// changed, when a call's list is not plain this time or the room may not
// suffice (the general road then reads it, and reports what it finds).
[[gnu::noinline]] int evaluate_string_joins(const expression_memo& memo, int flags) {
  if (no_execute) return elements_not_plain;
  plain_element calls[fast_items_max / 2 + 1];
  // The most room the items, the calls' lists and the joins can take.
  std::uint64_t room = 0;
  for (int k = 0; k < memo.count; k += 2) {
    const fast_item& f = memo.items[k];
    room += max_string_length + 1;
    if (f.kind != FAST_FUNCTION) continue;
    if (!peek_list_call(line_start + f.line_column, f.name_length, calls[k / 2])) return elements_not_plain;
    room += calls[k / 2].list.temp_bytes + 256;
  }
  room += 256u * static_cast<std::uint64_t>(memo.count / 2);
  if (temp_strings_used + room > temp_strings_size) return elements_not_plain;

  char joined[2 * max_string_length + 1];
  std::size_t length = 0;
  std::size_t pieces[fast_items_max / 2 + 1];
  const char* pending_text = nullptr;
  std::size_t pending_length = 0;
  item_is_parameter = 0;
  for (int k = 0; k < memo.count; k += 2) {
    const fast_item& f = memo.items[k];
    const char* text;
    std::size_t piece;
    if (f.kind == FAST_STRING_VARIABLE || f.kind == FAST_STRING_LITERAL) {
      const std::string_view operand = take_string_operand(f);
      text = operand.data();
      piece = operand.size();
      pending_text = text;
      pending_length = piece;
    } else {
      // The call is read with the last text in the accumulator.
      if (pending_text) {
        leave_text(pending_text, pending_length);
        pending_text = nullptr;
      }
      double unused = 0;
      const int type = take_plain_call(calls[k / 2], line_start + f.line_column, f.name_length, f.variable, unused);
      if (type < 0) return report_error(err_return_get_item);
      if (type != ITEM_STRING) return report_error_at(f.column, err_invalid_expression);
      text = string_accumulator;
      piece = accumulator_length();
    }
    // (Every piece is at most a string long already; the cut keeps the copy
    // below inside joined whatever a text holds.)
    if (piece > max_string_length) piece = max_string_length;
    std::uint32_t offset = 0;
    if (reserve_temp(piece, &offset) < 0) return -14;
    // join_all's steps: each join cut to the longest string.
    std::memcpy(joined + length, text, piece);
    length += piece;
    if (length > max_string_length) length = max_string_length;
    pieces[k / 2] = length;
  }
  if (pending_text) leave_text(pending_text, pending_length);
  if (int ended = read_ending_item(memo, flags); ended < 0) return ended;
  last_array_entry = nullptr;
  // The room of the joins, after that of the items.
  std::uint32_t used = temp_strings_used;
  for (int k = 2; k < memo.count; k += 2)
    if (pieces[k / 2] > 0) used += static_cast<std::uint32_t>(pieces[k / 2]) + 1;
  temp_strings_used = used;
  if (used > temp_strings_peak) temp_strings_peak = used;
  error_column = static_cast<int>(memo.items[0].column);
  leave_text(joined, length);
  return ITEM_STRING;
}

// The plain road for memos that hold parameters, kept out of line: the
// road of the others stays as small as it was.
[[gnu::noinline]] int evaluate_plain_parameters(const expression_memo& memo, int flags) {
  return evaluate_plain<true>(memo, flags);
}

// Whether the operands of a table of count items are all strings.
bool all_strings(const expr_item* table, int count) {
  for (int k = 0; k < count; k += 2)
    if (table[k].type != ITEM_STRING) return false;
  return true;
}

// Whether joining count items (strings and "+" between them) can take no
// more temporary strings than there is room for: each join takes at most
// 256 bytes, and asks for that much room first.
bool join_fits(int count) {
  return static_cast<std::uint64_t>(temp_strings_used) + 256u * static_cast<std::uint64_t>(count / 2) <=
         temp_strings_size;
}

// The passes over a table of strings joined by "+" (join_fits holds): the
// joins left to right, each cut to the longest string and taking its room
// in the temporary strings, and the last one delivered. The joins' texts
// are built here instead; nothing reads their room again once the
// expression is done.
[[gnu::noinline]] int join_all(const expr_item* table, int count) {
  char joined[2 * max_string_length + 1];
  const char* first = item_text(table[0]);
  std::size_t length = strnlen(first, max_string_length);
  std::memcpy(joined, first, length);
  std::uint32_t used = temp_strings_used;
  for (int k = 2; k < count; k += 2) {
    const char* next = item_text(table[k]);
    const std::size_t next_length = strnlen(next, max_string_length);
    std::memcpy(joined + length, next, next_length);
    length += next_length;
    if (length > max_string_length) length = max_string_length;
    if (length > 0) used += static_cast<std::uint32_t>(length) + 1;
  }
  temp_strings_used = used;
  if (used > temp_strings_peak) temp_strings_peak = used;
  error_column = static_cast<int>(table[0].column);
  leave_text(joined, length);
  return ITEM_STRING;
}

// What evaluate_remembered returns when an item it read (a function call, an
// element whose subscripts call one) changed what the memo depends on, or
// switched DEBUG, TRACE or stepping on: the items read so far stand in the
// table as the general road leaves them, and the rest of the expression is
// read there.
constexpr int rest_on_general_road = -100001;

// Evaluates a remembered expression: reads its items in order as the general
// road does (elements through get_item, literals copied to the temporary
// strings) into table, then the item that ends it, then computes in one
// pass. Anything the one pass does not do exactly as the passes (a division
// by zero, a result that is not finite, a NaN compared) goes through the
// passes over the same table. Returns the result type, a negative code, or
// rest_on_general_road with count and kinds set for the items read.
int evaluate_remembered(const expression_memo& found, int flags, expr_item* table, int& count, unsigned& kinds) {
  if (found.plain) return evaluate_plain<false>(found, flags);
  if (found.plain_elements) {
    int result = evaluate_plain_elements(found, flags);
    if (result != elements_not_plain) return result;
  }
  if (found.plain_parameters) return evaluate_plain_parameters(found, flags);
  if (found.string_joins) {
    int result = evaluate_string_joins(found, flags);
    if (result != elements_not_plain) return result;
  }
  // Work done while reading an item may record another expression in the
  // slot it came from: the items are read from a copy.
  expression_memo memo;
  std::memcpy(static_cast<void*>(&memo), &found,
              offsetof(expression_memo, items) + found.count * sizeof(fast_item));
  const memo_stamp stamp = ::memo.stamp;
  bool all_double = true;
  // The name an item leaves in current_name is always replaced by the item
  // that ends the expression (get_item empties it first), so names are not
  // copied here; the text the last literal or string variable read leaves in
  // the string accumulator is put there before anything else reads it (an
  // item read through get_item, the end), as reading it leaves it.
  const char* pending_text = nullptr;
  std::size_t pending_length = 0;
  item_is_parameter = 0;
  for (int k = 0; k < memo.count; ++k) {
    const fast_item& f = memo.items[k];
    expr_item& item = *new (&table[k]) expr_item;
    item.column = f.column;
    item.array = nullptr;
    switch (f.kind) {
      case FAST_VARIABLE: {
        // Variables are only appended until the table is reset (checked by
        // the memo), so the index and the type still hold.
        variable_entry& entry = variable_table[f.variable];
        item.type = ITEM_DOUBLE;
        item.value.number = entry.value.number;
        leave_variable(&entry.value, f.after);
        break;
      }
      case FAST_LITERAL: {
        // The literal's text in the temporary strings.
        std::uint32_t offset = 0;
        if (text_to_temp(std::string_view(line_start + f.line_column, f.name_length), &offset) < 0) return -14;
        item.type = ITEM_NUMERIC_TEXT;
        item.value.bits = offset;
        pending_text = line_start + f.line_column;
        pending_length = f.name_length;  // (all_double holds: the one pass takes the literal's value)
        break;
      }
      case FAST_STRING_VARIABLE:
      case FAST_STRING_LITERAL: {
        // The text in the temporary strings, as the accumulator hands it on.
        const std::string_view operand = take_string_operand(f);
        std::uint32_t offset = 0;
        if (text_to_temp(operand, &offset) < 0) return -14;
        item.type = ITEM_STRING;
        item.value.bits = offset;
        pending_text = temp_string_text(offset);
        pending_length = operand.size();
        all_double = false;
        break;
      }
      case FAST_OPERATOR:
        item.type = ITEM_OPERATOR;
        item.value.bits = 0;
        item.value.op = f.op;
        break;
      case FAST_COMPARISON:
        item.type = ITEM_COMPARISON;
        item.value.token = f.op;
        break;
      default: {  // FAST_READ, FAST_ELEMENT, FAST_FUNCTION, FAST_PARAMETER
        if (pending_text) {
          // The item is read with the last text in the accumulator.
          leave_text(pending_text, pending_length);
          pending_text = nullptr;
        }
        scan_pointer = line_start + f.line_column;
        int result;
        if (f.kind == FAST_ELEMENT && static_cast<std::uint32_t>(f.variable) < array_count) {
          result = get_element_item(item, f.variable, f.name_length, flags);
        } else if (f.kind == FAST_FUNCTION) {
          result = get_function_item(item, f.variable, f.name_length);
        } else {
          element_name_unused = true;  // the item that ends the expression is read after it
          result = get_item(item, flags);
        }
        if (result < 0) return report_error(err_return_get_item);
        if (result == 0 || item.type == ITEM_STATEMENT) return report_error_at(item.column, err_invalid_expression);
        // A function may give another type this time: the item is kept as
        // the general road keeps it, and the passes then combine the table.
        if (item.type == ITEM_STRING || item.type == ITEM_NUMERIC_TEXT) {
          std::uint32_t offset = 0;
          if (string_accumulator_to_temp(&offset) < 0) return -14;
          item.value.bits = offset;
          all_double = false;
        } else if (item.type == ITEM_LONG) {
          long_number* holder = long_temp_alloc();
          if (!holder) return -1;
          int moved = long_move(long_accumulator, holder);
          if (moved < 0) return moved;
          item.value.long_value = holder;
          all_double = false;
        } else if (item.type != ITEM_DOUBLE) {
          all_double = false;
        }
        if (!memo_holds(stamp)) {
          kinds |= operator_kind(item);
          count = k + 1;
          return rest_on_general_road;
        }
        break;
      }
    }
    kinds |= operator_kind(item);
  }
  if (pending_text) leave_text(pending_text, pending_length);

  if (int ended = read_ending_item(memo, flags); ended < 0) return ended;
  if (no_execute) return skipped_result(table[0].type == ITEM_STRING);
  last_array_entry = nullptr;
  if (!all_double) {  // (a lone literal is a plain expression)
    const expr_item& only = table[0];
    if (memo.joins && all_strings(table, memo.count)) {
      if (memo.count == 1 && only.array) last_array_entry = only.array;
      if (join_fits(memo.count)) return join_all(table, memo.count);
    }
    if (memo.count == 1 && ((only.type == ITEM_STRING && only.array) || only.type == ITEM_STRING_ARRAY ||
                            only.type == ITEM_NUMERIC_ARRAY))
      last_array_entry = only.array;
    count = memo.count;
    int reduced = reduce_table(table, count, kinds);
    return reduced < 0 ? reduced : deliver_result(table[0]);
  }

  double operands[fast_items_max];
  for (int k = 0; k < memo.count; k += 2) {
    const expr_item& item = table[k];
    operands[k] = item.type == ITEM_NUMERIC_TEXT ? memo.items[k].value : item.value.number;
  }
  double value = 0;
  bool exact = fast_combine(memo, operands, value);
  if (!exact) {
    count = memo.count;
    int reduced = reduce_table(table, count, kinds);
    return reduced < 0 ? reduced : deliver_result(table[0]);
  }
  error_column = static_cast<int>(memo.first_column);
  double_accumulator = value;
  return ITEM_DOUBLE;
}

}  // namespace

namespace {

// remembered_plain_value for a lone string variable or string literal: its
// text, and the room its evaluation takes for it.
bool remembered_string_value(const expression_memo& memo, plain_value& out) {
  if (no_execute || memo.count != 1) return false;
  const fast_item& f = memo.items[0];
  if (f.kind != FAST_STRING_VARIABLE && f.kind != FAST_STRING_LITERAL) return false;
  const std::string_view operand = string_operand_text(f);
  const std::size_t length = operand.size();
  out.has_variable = f.kind == FAST_STRING_VARIABLE;
  if (out.has_variable) {
    out.after = f.after;
    out.slot = &variable_table[f.variable].value;
  }
  out.is_string = true;
  out.text = operand.data();
  out.text_length = static_cast<std::uint8_t>(length);
  out.literal_bytes = length > 0 ? static_cast<std::uint32_t>(length) + 1 : 0;
  out.literal_length = 0;
  out.lone_literal = false;
  out.value = 0;
  out.first_column = memo.first_column;
  out.end_column = memo.end_column;
  return true;
}

// remembered_plain_value for a plain expression that holds parameters of
// the running call (kept out of line: the road of the others stays small).
[[gnu::noinline]] bool remembered_parameters_value(const expression_memo& memo, plain_value& out) {
  double operands[fast_items_max];
  out.has_variable = false;
  out.literal_length = 0;
  for (int k = 0; k < memo.count; k += 2) {
    const fast_item& f = memo.items[k];
    if (is_variable_operand<true>(f)) {
      value_slot& slot = operand_slot<true>(f);
      operands[k] = slot.number;
      out.has_variable = true;
      out.after = f.after;
      out.slot = &slot;
    } else {
      operands[k] = f.value;
      out.literal_column = f.line_column;
      out.literal_length = f.name_length;
    }
  }
  if (no_execute) out.value = 0.0;
  else if (!fast_combine(memo, operands, out.value)) return false;
  out.lone_literal = memo.result_type == ITEM_NUMERIC_TEXT;
  out.literal_bytes = memo.literal_bytes;
  out.first_column = memo.first_column;
  out.end_column = memo.end_column;
  out.is_string = false;
  return true;
}

}  // namespace

bool remembered_plain_value(memo_key key, int flags, plain_value& out, bool strings) {
  const expression_memo* memo = key != 0 ? remembered_expression(key, flags) : nullptr;
  if (!memo) return false;
  if (!memo->plain) {
    if (memo->plain_parameters) return remembered_parameters_value(*memo, out);
    return strings && remembered_string_value(*memo, out);
  }
  double operands[fast_items_max];
  out.has_variable = false;
  out.literal_length = 0;
  for (int k = 0; k < memo->count; k += 2) {  // the operands of a plain expression
    const fast_item& f = memo->items[k];
    if (f.kind == FAST_VARIABLE) {
      operands[k] = variable_table[f.variable].value.number;
      out.has_variable = true;
      out.after = f.after;
      out.slot = &variable_table[f.variable].value;
    } else {
      operands[k] = f.value;
      out.literal_column = f.line_column;
      out.literal_length = f.name_length;
    }
  }
  // Skipped, the expression is read but not computed: its value is 0.
  if (no_execute) out.value = 0.0;
  else if (!fast_combine(*memo, operands, out.value)) return false;
  out.lone_literal = memo->result_type == ITEM_NUMERIC_TEXT;
  out.literal_bytes = memo->literal_bytes;
  out.first_column = memo->first_column;
  out.end_column = memo->end_column;
  out.is_string = false;
  return true;
}

namespace {

constexpr std::uint8_t compiled_count_cell = 0xFF;

// A compiled item from a remembered one (a variable, a literal, an
// operator or a comparison).
compiled_item compiled_from(const fast_item& f) {
  compiled_item c{};
  c.kind = f.kind;
  c.op = f.op;
  c.index = f.variable;
  c.value = f.value;
  return c;
}

// The value of count compiled items (variables, literals, operators).
inline bool compiled_plain_value(const compiled_item* items, int count, double& out) {
  double operands[fast_items_max];
  for (int k = 0; k < count; k += 2) {
    const compiled_item& c = items[k];
    operands[k] = c.kind == FAST_VARIABLE ? variable_table[c.index].value.number : c.value;
  }
  return combine_items(count, items, operands, out);
}

// Takes apart the list "(" plain expression, ... ")" behind a name that
// ends at name_end into pool's subscripts (a count cell, then the items, for
// each expression), as read_remembered_list reads it: item.first and
// item.count set, after behind the ")", bytes the temporary strings the list
// takes. False when it is not such a list now (a lone literal is refused
// where lone_literals is false).
bool compile_list(const char* name_end, compiled_value& pool, compiled_item& item, const char*& after,
                  std::uint32_t& bytes, bool lone_literals, bool strings = false) {
  const memo_key line_key = memo_key_at(line_start);
  const char* p = blanks_passed(name_end);
  if (line_key == 0 || p >= line_end || *p != '(') return false;
  ++p;
  item.first = pool.subscripts_used;
  item.count = 0;
  bytes = 0;
  for (;;) {
    p = blanks_passed(p);
    if (p >= line_end || item.count == max_parameters) return false;
    const expression_memo* memo =
        remembered_expression(line_key + static_cast<memo_key>(p - line_start), GI_IN_PARENS | GI_LIST);
    if (!memo || memo->calls != 0) return false;
    const char* end = line_start + memo->end_column;
    if (end < p || end >= line_end || (*end != ')' && *end != ',' && *end != ';')) return false;
    const fast_item& first = memo->items[0];
    if (strings && !memo->plain && memo->count == 1 &&
        (first.kind == FAST_STRING_VARIABLE || first.kind == FAST_STRING_LITERAL)) {
      // A lone string variable or string literal (its room depends on its
      // text: counted when it is read).
      if (pool.subscripts_used + 1 > compiled_subscripts_max) return false;
      compiled_item& cell = pool.subscripts[pool.subscripts_used++];
      cell = compiled_item{};
      cell.kind = first.kind;
      cell.index = first.kind == FAST_STRING_VARIABLE ? first.variable : first.line_column;
      cell.first = first.name_length;
    } else {
      const bool lone_literal = memo->result_type == ITEM_NUMERIC_TEXT;
      if (!memo->plain || (lone_literal && !lone_literals) ||
          pool.subscripts_used + 1 + memo->count > compiled_subscripts_max)
        return false;
      compiled_item& cell = pool.subscripts[pool.subscripts_used++];
      cell = compiled_item{};
      cell.kind = compiled_count_cell;
      cell.count = memo->count;
      for (int k = 0; k < memo->count; ++k) pool.subscripts[pool.subscripts_used++] = compiled_from(memo->items[k]);
      // (The literals' texts, and a lone literal's once more as the list keeps it.)
      std::uint32_t own = memo->literal_bytes;
      if (lone_literal) own += first.name_length + 1u;
      cell.index = static_cast<std::int32_t>(own);
      bytes += own;
    }
    ++item.count;
    p = end + 1;
    if (*end == ')') break;
  }
  after = p;
  return true;
}

// Whether the compiled road computes the string function token (CHR$,
// LEFT$, RIGHT$, MID$).
bool compiled_string_call(int token) {
  const pure_argument probe[3] = {{true, {}, 0}, {false, {}, 1}, {false, {}, 1}};
  std::string_view text;
  char room = 0;
  return pure_string_value(token, probe, 2, text, room) || pure_string_value(token, probe + 1, 1, text, room);
}

// Takes apart a call of LEN, ASC or INSTR (token) whose list starts behind
// name_end: a plain list of texts and numbers, read as call_with_list reads
// it (c.op 'L'); or, for LEN and ASC, one call of CHR$, LEFT$, RIGHT$ or
// MID$ with a plain list, read as the general call reads a join of one call
// (c.op 'N': c.first is the inner call's cell, which holds its own list).
bool compile_text_number(const char* name_end, int token, compiled_value& pool, compiled_item& c) {
  const pure_argument probe[2] = {{true, {}, 0}, {true, {}, 0}};
  double number = 0;
  if (!pure_text_number(token, probe, 1, number) && !pure_text_number(token, probe, 2, number)) return false;
  c = compiled_item{};
  c.kind = FAST_FUNCTION;
  c.index = token;
  const char* after = nullptr;
  std::uint32_t bytes = 0;
  const std::uint8_t used = pool.subscripts_used;
  if (compile_list(name_end, pool, c, after, bytes, true, true)) {
    c.op = 'L';
    return c.count <= 3;
  }
  pool.subscripts_used = used;
  if (token != FUNC_LEN && token != FUNC_ASC) return false;
  const memo_key line_key = memo_key_at(line_start);
  const char* p = blanks_passed(name_end);
  if (line_key == 0 || p >= line_end || *p != '(') return false;
  ++p;
  p = blanks_passed(p);
  const expression_memo* memo =
      p < line_end ? remembered_expression(line_key + static_cast<memo_key>(p - line_start), GI_IN_PARENS | GI_LIST)
                   : nullptr;
  if (!memo || memo->calls != 0 || !memo->string_joins || memo->count != 1 ||
      memo->items[0].kind != FAST_FUNCTION || line_start[memo->end_column] != ')' ||
      pool.subscripts_used + 1 > compiled_subscripts_max)
    return false;
  const fast_item& inner = memo->items[0];
  if (!compiled_string_call(inner.variable)) return false;
  c.op = 'N';
  c.first = pool.subscripts_used;
  c.count = 1;
  compiled_item& call = pool.subscripts[pool.subscripts_used++];
  call = compiled_item{};
  call.kind = FAST_FUNCTION;
  call.index = inner.variable;
  return compile_list(line_start + inner.line_column + inner.name_length, pool, call, after, bytes, true, true) &&
         call.count <= 3;
}

}  // namespace

bool compile_element(const char* name_at, std::size_t name_length, int array_index, compiled_value& pool,
                     compiled_item& element, const char*& after, std::uint32_t& room) {
  if (array_index < 0 || static_cast<std::uint32_t>(array_index) >= array_count) return false;
  const array_entry& entry = array_table[array_index];
  if (entry.type != ITEM_DOUBLE || !entry.data) return false;
  element = compiled_item{};
  element.kind = FAST_ELEMENT;
  element.index = array_index;
  return compile_list(name_at + name_length, pool, element, after, room, true) &&
         element.count == entry.dimension_count;
}

value_slot* compiled_element_slot(const compiled_value& pool, const compiled_item& element) {
  const array_entry& entry = array_table[element.index];
  if (entry.type != ITEM_DOUBLE || !entry.data || entry.dimension_count != element.count) return nullptr;
  const compiled_item* cell = pool.subscripts + element.first;
  std::size_t index = 0;
  for (int k = 0; k < element.count; ++k) {
    double subscript = 0;
    if (!compiled_plain_value(cell + 1, cell->count, subscript)) return nullptr;
    if (!(subscript >= 0.0 && subscript < entry.dimension_sizes[k])) return nullptr;
    index = index * entry.dimension_sizes[k] + static_cast<std::size_t>(subscript);
    cell += 1 + cell->count;
  }
  return entry.data + index;
}

bool compile_remembered_value(memo_key key, int flags, compiled_value& out) {
  // (Besides the one passes over plain expressions and elements, the item
  // road: LEN, ASC and INSTR are read there, and so is everything beside them.)
  const expression_memo* memo = key != 0 ? remembered_expression(key, flags) : nullptr;
  if (!memo || memo->calls != 0 || memo->string_joins || memo->count > compiled_items_max) return false;
  // The room as the one pass takes it in order: each literal's text kept,
  // each element's subscripts read above what the items before it keep.
  std::uint32_t kept = 0;
  std::uint32_t room = 0;
  std::uint32_t lists = 0;  // (the one pass over elements asks for all of it at once)
  for (int k = 0; k < memo->count; ++k) {
    const fast_item& f = memo->items[k];
    compiled_item& c = out.items[k];
    if (f.kind == FAST_ELEMENT || f.kind == FAST_FUNCTION) {
      // An element, or a call of a function the compiled road computes, of
      // one plain expression that is no lone literal (as peek_plain_call
      // takes it): its list read above what the items before it keep.
      const char* after = nullptr;
      std::uint32_t bytes = 0;
      const char* const name_at = line_start + f.line_column;
      if (f.kind == FAST_ELEMENT) {
        if (!compile_element(name_at, f.name_length, f.variable, out, c, after, bytes)) return false;
      } else if (double probe = 0; pure_numeric_value(f.variable, 0.0, probe)) {
        c = compiled_item{};
        c.kind = FAST_FUNCTION;
        c.index = f.variable;
        if (!compile_list(name_at + f.name_length, out, c, after, bytes, false) || c.count != 1) return false;
      } else {
        // LEN, ASC or INSTR: their room depends on the texts they read, so
        // it is counted when they are read, from the level the items before
        // them keep (c.value).
        if (!compile_text_number(name_at + f.name_length, f.variable, out, c)) return false;
        c.value = kept;
        continue;
      }
      room = std::max(room, kept + bytes);
      lists += bytes;
    } else if (f.kind == FAST_VARIABLE || f.kind == FAST_LITERAL || f.kind == FAST_OPERATOR ||
               f.kind == FAST_COMPARISON) {
      c = compiled_from(f);
      if (f.kind == FAST_LITERAL) {
        kept += f.name_length + 1u;
        room = std::max(room, kept);
      }
    } else {
      return false;
    }
  }
  out.count = memo->count;
  out.first_column = memo->first_column;
  out.lone_literal = memo->result_type == ITEM_NUMERIC_TEXT;
  out.end_column = memo->end_column;
  out.room = room;
  // The one pass over elements asks for all its room at once; the one pass
  // over plain items and the item road (where LEN, ASC and INSTR are read)
  // check each item's as they read it.
  out.need = memo->plain_elements && !memo->plain ? memo->literal_bytes + lists : room;
  return true;
}

bool compile_remembered_join(memo_key key, compiled_value& out) {
  const expression_memo* memo = key != 0 ? remembered_expression(key, 0) : nullptr;
  if (!memo || memo->calls != 0 || !memo->string_joins || memo->count > compiled_items_max) return false;
  for (int k = 0; k < memo->count; ++k) {
    const fast_item& f = memo->items[k];
    compiled_item& c = out.items[k];
    c = compiled_item{};
    c.kind = f.kind;
    if (f.kind == FAST_OPERATOR) {
      c.op = f.op;
    } else if (f.kind == FAST_STRING_VARIABLE) {
      c.index = f.variable;
    } else if (f.kind == FAST_STRING_LITERAL) {
      c.index = f.line_column;
      c.first = f.name_length;
    } else if (f.kind == FAST_FUNCTION) {
      // (A function the compiled road does not compute, or a list it cannot
      // read, leaves the join to the one pass.)
      if (!compiled_string_call(f.variable)) return false;
      c.index = f.variable;
      const char* after = nullptr;
      std::uint32_t bytes = 0;
      if (!compile_list(line_start + f.line_column + f.name_length, out, c, after, bytes, true, true) ||
          c.count > 3)
        return false;
    } else {
      return false;
    }
  }
  out.count = memo->count;
  out.lone_literal = false;
  out.first_column = memo->items[0].column;
  out.end_column = memo->end_column;
  out.room = 0;  // (take_compiled_join counts the room as it reads)
  out.need = 0;
  return true;
}

namespace {

// The text of a compiled string item (a variable or a literal).
inline std::string_view compiled_text(const compiled_item& c) {
  if (c.kind == FAST_STRING_VARIABLE) {
    const char* const text = string_space_text(variable_table[c.index].value.string_offset);
    return {text, strnlen(text, max_string_length)};
  }
  return {line_start + c.index + 1, c.first};
}

// The arguments of a compiled call now and the temporary strings its list
// takes (read_remembered_list's count): false when one is not plain now.
bool compiled_arguments(const compiled_value& pool, const compiled_item& call, pure_argument* arguments,
                        std::uint64_t& bytes) {
  const compiled_item* cell = pool.subscripts + call.first;
  bytes = 0;
  for (int k = 0; k < call.count; ++k) {
    pure_argument& argument = arguments[k];
    if (cell->kind == compiled_count_cell) {
      argument.is_string = false;
      if (!compiled_plain_value(cell + 1, cell->count, argument.value)) return false;
      bytes += static_cast<std::uint32_t>(cell->index);
      cell += 1 + cell->count;
    } else {
      // A string's room as its evaluation takes it, then its copy in the list.
      argument.is_string = true;
      argument.text = compiled_text(*cell);
      if (!argument.text.empty()) bytes += 2 * (argument.text.size() + 1);
      cell += 1;
    }
  }
  return true;
}

}  // namespace

bool take_compiled_join(const compiled_value& value) {
  if (no_execute || !fast_modes()) return false;
  // The arguments of the calls first, and the room evaluate_string_joins
  // asks for before it reads anything.
  pure_argument arguments[compiled_items_max / 2 + 1][3];
  std::uint64_t list_bytes[compiled_items_max / 2 + 1];
  const std::uint64_t used_at_start = temp_strings_used;
  std::uint64_t room = 0;
  for (int k = 0; k < value.count; k += 2) {
    const compiled_item& c = value.items[k];
    room += max_string_length + 1;
    if (c.kind != FAST_FUNCTION) continue;
    if (!compiled_arguments(value, c, arguments[k / 2], list_bytes[k / 2]) ||
        used_at_start + list_bytes[k / 2] > temp_strings_size)
      return false;
    room += list_bytes[k / 2] + 256;
  }
  room += 256u * static_cast<std::uint64_t>(value.count / 2);
  if (used_at_start + room > temp_strings_size) return false;

  char joined[2 * max_string_length + 1];
  std::size_t length = 0;
  std::size_t pieces[compiled_items_max / 2 + 1];
  std::uint64_t used = used_at_start;
  std::uint64_t reach = used_at_start;
  for (int k = 0; k < value.count; k += 2) {
    const compiled_item& c = value.items[k];
    std::string_view text;
    char room_for_char = 0;
    if (c.kind == FAST_FUNCTION) {
      // The call's list is read above what the items before it keep.
      reach = std::max(reach, used + list_bytes[k / 2]);
      if (!pure_string_value(c.index, arguments[k / 2], c.count, text, room_for_char)) return false;
    } else {
      text = compiled_text(c);
    }
    std::size_t piece = text.size() > max_string_length ? max_string_length : text.size();
    if (piece > 0) {
      used += piece + 1;
      reach = std::max(reach, used);
    }
    std::memcpy(joined + length, text.data(), piece);
    length += piece;
    if (length > max_string_length) length = max_string_length;
    pieces[k / 2] = length;
  }
  // The room of the joins, after that of the items.
  for (int k = 2; k < value.count; k += 2)
    if (pieces[k / 2] > 0) used += pieces[k / 2] + 1;
  reach = std::max(reach, used);
  if (reach > temp_strings_peak) temp_strings_peak = static_cast<std::uint32_t>(reach);
  error_column = static_cast<int>(value.first_column);
  leave_text(joined, length);
  return true;
}

namespace {

// The value of a compiled LEN, ASC or INSTR call now, and the room its
// reading takes and asks for above the level it is read at: false when an
// argument is not plain now or the call would report something.
bool compiled_text_number(const compiled_value& pool, const compiled_item& c, double& out, std::uint64_t& room,
                          std::uint64_t& need) {
  pure_argument arguments[3];
  std::uint64_t bytes = 0;
  if (c.op == 'L') {
    // The list read as call_with_list reads it.
    if (!compiled_arguments(pool, c, arguments, bytes) || !pure_text_number(c.index, arguments, c.count, out))
      return false;
    room = need = bytes;
    return true;
  }
  // One call of a string function, read as the join of one call it is: its
  // list, then its text kept, then the text kept once more as the argument.
  const compiled_item& call = pool.subscripts[c.first];
  std::string_view text;
  char room_for_char = 0;
  if (!compiled_arguments(pool, call, arguments, bytes) ||
      !pure_string_value(call.index, arguments, call.count, text, room_for_char))
    return false;
  if (text.size() > max_string_length) text = text.substr(0, max_string_length);
  const pure_argument argument{true, text, 0};
  if (!pure_text_number(c.index, &argument, 1, out)) return false;
  room = std::max<std::uint64_t>(bytes, text.empty() ? 0 : 2 * (text.size() + 1));
  need = (max_string_length + 1) + bytes + 256;  // (what the join asks for before it reads)
  return true;
}

}  // namespace

bool compiled_value_of(const compiled_value& value, double& out, std::uint64_t& room, std::uint64_t& need) {
  if (!fast_modes()) return false;
  room = value.room;
  need = value.need;
  // A lone literal gives its remembered value, as small_literal_result does.
  if (value.lone_literal) {
    out = value.items[0].value;
    return true;
  }
  double operands[compiled_items_max];
  for (int k = 0; k < value.count; k += 2) {
    const compiled_item& c = value.items[k];
    if (c.kind == FAST_VARIABLE) {
      operands[k] = variable_table[c.index].value.number;
    } else if (c.kind == FAST_ELEMENT) {
      const value_slot* slot = compiled_element_slot(value, c);
      if (!slot) return false;
      operands[k] = slot->number;
    } else if (c.kind == FAST_FUNCTION && c.op != 0) {
      std::uint64_t call_room = 0, call_need = 0;
      if (!compiled_text_number(value, c, operands[k], call_room, call_need)) return false;
      const auto level = static_cast<std::uint64_t>(c.value);
      room = std::max(room, level + call_room);
      need = std::max(need, level + call_need);
    } else if (c.kind == FAST_FUNCTION) {
      const compiled_item* cell = value.subscripts + c.first;
      double argument = 0;
      if (!compiled_plain_value(cell + 1, cell->count, argument) || !pure_numeric_value(c.index, argument, operands[k]))
        return false;
    } else {
      operands[k] = c.value;
    }
  }
  return combine_items(value.count, value.items, operands, out);
}

int evaluate_expression(int flags) {
  struct depth_count {
    depth_count() { ++evaluation_depth; }
    ~depth_count() { --evaluation_depth; }
  } depth;
  small_literal.depth = -1;
  // Raw room for the items: an expression uses a few of the 49 places, so
  // they are not cleared in advance (each is constructed as it is filled).
  alignas(expr_item) unsigned char table_room[sizeof(expr_item) * max_expression_items];
  expr_item* const table = reinterpret_cast<expr_item*>(table_room);
  unsigned kinds = 0;
  int count = 0;
  error_column = static_cast<int>(scan_column());
  const char* expression_start = scan_pointer;
  const memo_key key = scan_memo_key(flags);
  if (key != 0) {
    if (const expression_memo* memo = remembered_expression(key, flags)) {
      int result = evaluate_remembered(*memo, flags, table, count, kinds);
      if (result != rest_on_general_road) return result;
    }
  }
  expression_recorder recorder;
  recorder.start(count == 0 ? key : 0, flags);
  for (;;) {
    const char* item_start = scan_pointer;
    expr_item item;
    int result = get_item(item, flags);
    if (result < 0) return report_error(err_return_get_item);
    if (result == 0) {
      recorder.end = item_start;
      expression_ending.valid = false;
      break;
    }
    if (count >= max_expression_items) {
      scan_pointer = item_start;
      skip_blanks();
      return report_error_here(err_too_many_items_in_expression);
    }
    if (item.type == ITEM_STATEMENT) {
      if (flags & GI_IN_PARENS) return report_error_at(item.column, err_statement_inside_expression);
      note_ending_keyword(item_start, item);
      recorder.ended_on_keyword(item, statement_start + item.column);
      scan_pointer = item_start;
      recorder.end = item_start;
      break;
    }
    recorder.add(item, statement_start + item.column);
    if (item.type == ITEM_STRING || item.type == ITEM_NUMERIC_TEXT) {
      std::uint32_t offset = 0;
      if (string_accumulator_to_temp(&offset) < 0) return -14;
      item.value.bits = offset;
    } else if (item.type == ITEM_LONG) {
      long_number* holder = long_temp_alloc();
      if (!holder) return -1;
      int moved = long_move(long_accumulator, holder);
      if (moved < 0) return moved;
      item.value.long_value = holder;
    }
    kinds |= operator_kind(item);
    new (&table[count++]) expr_item(item);
  }

  if (debug_mode && expression_start && scan_pointer > expression_start) {
    std::string text(expression_start, static_cast<std::size_t>(scan_pointer - expression_start));
    print_text("\n" + indent_text() + "Expression: " + text + "\n");
  }
  if (count == 0) return 0;

  if (no_execute) {
    if (table[0].type == ITEM_STRING) return skipped_result(true);
    // Its items are read as when it runs: they are remembered alike (a lone
    // literal as the lone literal it gives when it runs).
    recorder.finish(count == 1 && table[0].type == ITEM_NUMERIC_TEXT ? ITEM_NUMERIC_TEXT : ITEM_DOUBLE);
    return skipped_result(false);
  }

  last_array_entry = nullptr;
  if (count == 1) {
    const expr_item& only = table[0];
    if ((only.type == ITEM_STRING && only.array) || only.type == ITEM_STRING_ARRAY ||
        only.type == ITEM_NUMERIC_ARRAY)
      last_array_entry = only.array;
  }

  int reduced = reduce_table(table, count, kinds);
  if (reduced < 0) return reduced;
  int delivered = deliver_result(table[0]);
  if (delivered == ITEM_DOUBLE || delivered == ITEM_NUMERIC_TEXT || delivered == ITEM_STRING) recorder.finish(delivered);
  return delivered;
}

bool small_literal_result() {
  if (small_literal.depth != evaluation_depth + 1 || no_execute) return false;
  double_accumulator = small_literal.value;
  return true;
}

int evaluate_expression_release_temps(int flags) {
  temp_level_guard levels;
  std::int32_t saved_precision = long_precision;
  int result = evaluate_expression(flags);
  long_precision = saved_precision;
  return result;
}

int get_parameter_list(int* count, expr_item* list) {
  *count = 0;
  skip_blanks();
  error_column = static_cast<int>(scan_column());
  if (!scan_pointer || scan_pointer >= line_end || *scan_pointer != '(') return report_error(err_parameter_list_start_with_left);
  ++scan_pointer;
  for (;;) {
    skip_blanks();
    std::uint32_t column = scan_column();
    ++expression_depth;
    int result = evaluate_expression(GI_IN_PARENS | GI_LIST);
    --expression_depth;
    if (result < 0) return report_error(err_return_evaluate_expression);
    char consumed = scan_pointer[-1];
    if (result == 0) {
      if (consumed == ')') return 0;
      return report_error_at(static_cast<int>(scan_column()) - 1, err_missing_parameter);
    }
    expr_item& item = *new (&list[*count]) expr_item{};  // list may be raw room
    item.column = column;
    switch (result) {
      case ITEM_DOUBLE:
        item.value.number = double_accumulator;
        break;
      case ITEM_LONG: {
        long_number* holder = long_temp_alloc();
        if (!holder) return -1;
        int moved = long_move(long_accumulator, holder);
        if (moved < 0) return moved;
        item.value.long_value = holder;
        break;
      }
      case ITEM_STRING:
      case ITEM_NUMERIC_TEXT: {
        std::uint32_t offset = 0;
        if (string_accumulator_to_temp(&offset) < 0) return -14;
        item.value.bits = offset;
        item.array = last_array_entry;
        break;
      }
      case ITEM_STRING_ARRAY:
      case ITEM_NUMERIC_ARRAY:
        item.array = last_array_entry;
        break;
      default:
        return report_error(err_return_evaluate_expression);
    }
    item.type = static_cast<std::uint32_t>(result);
    ++*count;
    if (consumed == ')') return 0;
    if (*count == max_parameters) {
      return report_error_at(static_cast<int>(scan_column()) - 1, err_too_many_parameters);
    }
  }
}

int evaluate_expression_text(std::string_view text) {
  scan_text_scope scope(text);
  return evaluate_expression_release_temps(0);
}
