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
#include "interpreter/scanner.h"
#include "interpreter/variables.h"
#include "rizozira/long_number.h"

namespace {

// What a scan leaves behind, saved before it and restored after it.
class scan_guard {
 public:
  scan_guard() {
    std::memcpy(saved_text_, string_accumulator, sizeof saved_text_);
    std::memcpy(saved_name_, current_name, sizeof saved_name_);
    long_init(&saved_long_, saved_long_buffer_, sizeof saved_long_buffer_);
    if (long_accumulator) long_move(long_accumulator, &saved_long_);
  }
  ~scan_guard() {
    current_value_slot = saved_slot_;
    error_column = saved_column_;
    std::memcpy(current_name, saved_name_, sizeof saved_name_);
    char_after_name = saved_char_after_name_;
    item_is_parameter = saved_is_parameter_;
    last_array_entry = saved_array_entry_;
    double_accumulator = saved_double_;
    std::memcpy(string_accumulator, saved_text_, sizeof saved_text_);
    string_accumulator_length = saved_length_;
    if (long_accumulator) long_move(&saved_long_, long_accumulator);
    long_clear(&saved_long_);
  }
  scan_guard(const scan_guard&) = delete;
  scan_guard& operator=(const scan_guard&) = delete;

 private:
  value_slot* saved_slot_ = current_value_slot;
  int saved_column_ = error_column;
  char saved_char_after_name_ = char_after_name;
  int saved_is_parameter_ = item_is_parameter;
  array_entry* saved_array_entry_ = last_array_entry;
  char saved_name_[current_name_size];
  double saved_double_ = double_accumulator;
  std::int32_t saved_length_ = string_accumulator_length;
  char saved_text_[string_accumulator_size];
  long_number saved_long_{};
  std::uint32_t saved_long_buffer_[long_slot_inline_blocks] = {};
};

// Scans the name; returns the scan's result with the slot it found.
int scan_named(const char* name, int flags, value_slot** slot) {
  scan_guard guard;
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
