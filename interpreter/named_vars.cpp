// Named-variable channel. Each operation scans the name as one item, reads or
// writes the value slot the scan found, and puts back everything the scan
// overwrote (scan state, current_value_slot, current_name, error_column, the
// accumulators), because the long-number routines call it in the middle of their work.
#include "interpreter/named_vars.h"

#include <cmath>
#include <cstring>

#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/run_state.h"
#include "interpreter/scan_state.h"
#include "interpreter/scanner.h"
#include "interpreter/variables.h"
#include "rizozira/long_number.h"

namespace {

// Scans the name; returns the scan's result with the slot it found.
int scan_named(const char* name, int flags, value_slot** slot) {
  scan_state_guard guard;  // the scan runs in the middle of other work
  expr_item item;
  int result = get_item_from_text(name ? name : "", flags, item);
  // A parameter of a running user function is never written from here.
  *slot = item_is_parameter ? nullptr : current_value_slot;
  return result;
}

// The slot of an existing double variable or element, or null with the
// scan's result in *result.
value_slot* numeric_slot(const char* name, int* result) {
  value_slot* slot = nullptr;
  *result = scan_named(name, GI_LOOKUP_ONLY, &slot);
  return *result == ITEM_DOUBLE ? slot : nullptr;
}

}  // namespace

int set_named_var_double(const char* name, double value) {
  int result = 0;
  value_slot* slot = numeric_slot(name, &result);
  if (!slot) return result;
  slot->number = value;
  return 0;
}

int set_named_var_int(const char* name, std::int32_t value) {
  return set_named_var_double(name, static_cast<double>(value));
}

int get_named_var_double(const char* name, double* value) {
  *value = 0.0;
  int result = 0;
  value_slot* slot = numeric_slot(name, &result);
  if (!slot) return result;
  *value = slot->number;
  return 0;
}

int get_named_var_int(const char* name, std::int32_t* value) {
  *value = 0;
  int result = 0;
  value_slot* slot = numeric_slot(name, &result);
  if (!slot) return result;
  double v = slot->number;
  if (!(v > -2147483648.0 && v <= 2147483647.0)) return ITEM_DOUBLE;  // NaN fails here too
  *value = static_cast<std::int32_t>(std::trunc(v));
  return 0;
}

int named_string_var_exists(const char* name) {
  value_slot* slot = nullptr;
  int result = scan_named(name, GI_LOOKUP_ONLY, &slot);
  return result == ITEM_STRING && slot ? 0 : result;
}

int set_named_var_string(const char* name) {
  value_slot* slot = nullptr;
  int result = scan_named(name, GI_STATEMENT_START, &slot);
  if (result != ITEM_STRING || !slot) return result;
  // string_accumulator holds the caller's text again. A store that fails
  // (string space full even after houseclean) was reported there and its
  // code is returned: the caller must not take the text as delivered.
  int stored = assign_string_variable(slot, 0);
  return stored < 0 ? stored : 0;
}
