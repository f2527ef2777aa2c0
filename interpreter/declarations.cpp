// Declarations and modes: DIM, ERASE, SWAP, LONG, FLOAT, INTEGER, DEGREES,
// RADIANS and RANDOMIZE.
#include "interpreter/declarations.h"

#include <cmath>
#include <cstring>
#include <string>
#include <strings.h>

#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/functions.h"
#include "interpreter/keywords.h"
#include "interpreter/random.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/statements.h"
#include "interpreter/variables.h"
#include "interpreter/memo.h"
#include "platform/clock.h"
#include "rizozira/long_number.h"

namespace {

bool at_statement_end() {
  char c = skip_blanks();
  return scan_pointer >= line_end || c == '\0' || c == ':';
}

// The comma-separated declaration list of DIM and LONG: each item is scanned
// with flags; a "," must be followed by another item (error 228).
int declaration_list(int flags) {
  bool after_comma = false;
  for (;;) {
    if (at_statement_end()) return after_comma ? report_error_here(err_expect_more_items_following_comma) : 0;
    expr_item item{};
    int r = get_item(item, flags);
    if (r < 0) return r;
    if (skip_blanks() != ',') return 0;
    ++scan_pointer;
    after_comma = true;
  }
}

bool equals_word(const char* text, const char* word) { return strcasecmp(text, word) == 0; }

}  // namespace

int stmt_dim() { return declaration_list(GI_DIM); }

int erase_arrays_named(const char* name) {
  int erased = 0;
  std::uint32_t i = 0;
  while (i < array_count) {
    // ERASE compares names exactly, unlike every other name lookup.
    if (std::strcmp(array_name(array_table[i]), name) != 0) {
      ++i;
      continue;
    }
    free_array_data(array_table[i]);
    std::memmove(&array_table[i], &array_table[i + 1], (array_count - i - 1) * sizeof(array_entry));
    --array_count;
    ++erased;
  }
  // The arrays behind the erased ones moved down: what was remembered of
  // where an array stands is no longer true.
  if (erased > 0) memo_changed();
  return erased;
}

int stmt_erase() {
  for (;;) {
    expr_item item{};
    int r = get_item(item, GI_NAME_ONLY);
    if (r < 0) return r;
    std::string name(string_accumulator);
    if (!no_execute) erase_arrays_named(name.c_str());
    if (skip_blanks() != ',') return 0;
    ++scan_pointer;
    if (at_statement_end()) return report_error_here(err_expect_more_items_following_comma);
  }
}

static bool is_swap_type(int type) { return type == ITEM_DOUBLE || type == ITEM_STRING || type == ITEM_LONG; }

int stmt_swap() {
  expr_item first{};
  int r = get_item(first, GI_STATEMENT_START | GI_LIST);
  if (r < 0) return r;
  if (!is_swap_type(r)) {
    return report_error_at(first.column, err_invalid_type);
  }
  // A function parameter lives in temporary space: it is never a target.
  if (item_is_parameter) {
    return report_error_at(first.column, err_assign_value_to_argument);
  }
  value_slot* slot_a = current_value_slot;
  if (skip_blanks() != ',') return report_error_here(err_missing_comma);
  ++scan_pointer;

  expr_item second{};
  int t = get_item(second, GI_STATEMENT_START);
  if (t < 0) return t;
  if (t == 0) return report_error_here(err_expect_more_items_following_comma);
  error_column = static_cast<int>(second.column);
  if (!is_swap_type(t)) return report_error(err_invalid_type);
  // While skipping (the pre-scan, a false IF branch) no array exists yet, so an
  // element of a string or long array reads as a double: the two types are
  // compared only when the statement executes, as LSET, RSET and MID$ do.
  if (t != r && !no_execute) return report_error(err_type_mismatch);
  if (item_is_parameter) return report_error(err_assign_value_to_argument);
  value_slot* slot_b = current_value_slot;
  if (no_execute || !slot_a || !slot_b) return 0;
  value_slot held = *slot_a;  // offsets, values or pool pointers: nothing is copied
  *slot_a = *slot_b;
  *slot_b = held;
  return 0;
}

int stmt_long() {
  const char* list_start = nullptr;
  skip_blanks();
  if (scan_pointer < line_end && *scan_pointer == '"') {
    const char* quote = scan_pointer;
    expr_item text{};
    int r = get_item(text, 0);
    if (r < 0) return r;
    if (r == ITEM_STRING && equals_word(string_accumulator, "all")) {
      if (at_statement_end()) {
        if (!no_execute && !prescan_mode) set_long_all_mode(1);
        return 0;
      }
      list_start = scan_pointer;
      if (*scan_pointer == ',') {
        ++scan_pointer;
        skip_blanks();
        list_start = scan_pointer;
        if (scan_pointer < line_end && *scan_pointer == '"') {
          const char* second = scan_pointer;
          r = get_item(text, 0);
          if (r < 0) return r;
          if (r == ITEM_STRING && equals_word(string_accumulator, "off")) {
            if (!no_execute && !prescan_mode) set_long_all_mode(0);
            if (skip_blanks() == ',') ++scan_pointer;
            list_start = scan_pointer;
          } else {
            list_start = second;
          }
        }
      }
    } else {
      list_start = quote;  // any other string is the list's first item (refused there)
    }
    scan_pointer = list_start;
  }
  return declaration_list(GI_LONG);
}

int stmt_float() {
  int r = evaluate_expression_release_temps(0);
  if (r < 0) return r;
  if (no_execute) return 0;
  long_set_float_mode();
  memo_changed();
  if (r == 0) {
    set_predefined_double(PREDEF_FLOATINGPTLENGTH, long_precision);
    return 0;
  }
  long_precision = long_float_precision;  // undo any temporary change first
  set_predefined_double(PREDEF_FLOATINGPTLENGTH, long_precision);
  int c = result_to_double(r, 1);
  if (c < 0) return c;
  int s = long_set_float_precision(double_accumulator);
  set_predefined_double(PREDEF_FLOATINGPTLENGTH, long_precision);
  return s < 0 ? s : 0;
}

int stmt_integer() {
  if (!no_execute) {
    long_set_integer_mode();
    memo_changed();
  }
  return 0;
}

int stmt_degrees() {
  if (!no_execute) {
    degrees_mode = 1;
    memo_changed();
  }
  return 0;
}

int stmt_radians() {
  if (!no_execute) {
    degrees_mode = 0;
    memo_changed();
  }
  return 0;
}

int stmt_randomize() {
  expr_item operand{};
  int r = get_item(operand, GI_DATA_VALUE);
  if (r < 0) return report_error(err_return_get_item);
  if (r == 0) return report_error_here(err_randomize_missing_number_or_timer);
  if (no_execute) return 0;
  if (r == ITEM_STRING) {
    if (!equals_word(string_accumulator, "timer")) {
      return report_error_at(operand.column, err_randomize_missing_number_or_timer);
    }
    double now = std::floor(wall_clock_seconds());
    if (!(now >= 0.0)) now = 0.0;
    random_set_seed(static_cast<std::uint32_t>(std::fmod(now, 4294967296.0)));
    return 0;
  }
  int c = result_to_double(r, 1);
  if (c < 0) return c;
  double v = double_accumulator;
  if (!(v >= 1.0 && v <= 4294967295.0)) {
    return report_error_at(operand.column, err_randomize_number_out_range);
  }
  random_set_seed(static_cast<std::uint32_t>(v));
  return 0;
}
