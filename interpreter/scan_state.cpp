#include "interpreter/scan_state.h"

#include <algorithm>
#include <cstring>

#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/variables.h"

namespace {

// How much of the string accumulator is in use: its text and its NUL.
std::size_t used_text_bytes(const char* text, std::int32_t length) {
  std::size_t used = strnlen(text, string_accumulator_size - 1);
  if (length > 0 && static_cast<std::size_t>(length) > used)
    used = std::min(static_cast<std::size_t>(length), string_accumulator_size - 1);
  return used + 1;
}

// The one list of what a scan leaves behind besides the name and the text:
// each field of the results with the global it copies, handed to f.
template <class Results, class F>
void each_field(Results& r, F f) {
  f(r.after, char_after_name);
  f(r.is_parameter, item_is_parameter);
  f(r.column, error_column);
  f(r.slot, current_value_slot);
  f(r.last_array, last_array_entry);
  f(r.number, double_accumulator);
  f(r.text_length, string_accumulator_length);
  f(r.math_error, math_error_flag);
  f(r.depth, expression_depth);
  f(r.field_start, field_target_start);
  f(r.field_width, field_target_width);
  f(r.field_file, field_target_file);
}

}  // namespace

void scan_results::take() {
  name_bytes = static_cast<std::uint32_t>(strnlen(current_name, current_name_size - 1)) + 1;
  std::memcpy(name, current_name, name_bytes);
  name[name_bytes - 1] = '\0';
  text_bytes = static_cast<std::uint32_t>(used_text_bytes(string_accumulator, string_accumulator_length));
  std::memcpy(text, string_accumulator, text_bytes);
  each_field(*this, [](auto& kept, const auto& live) { kept = live; });
}

void scan_results::restore() const {
  std::memcpy(current_name, name, name_bytes);
  std::memcpy(string_accumulator, text, text_bytes);
  each_field(*this, [](const auto& kept, auto& live) { live = kept; });
}

scan_state_guard::scan_state_guard() {
  long_init(&long_value_, long_buffer_, sizeof long_buffer_);
  if (long_accumulator) long_move(long_accumulator, &long_value_);
}

scan_state_guard::~scan_state_guard() {
  state_.restore();
  if (long_accumulator) long_move(&long_value_, long_accumulator);
  long_clear(&long_value_);
}
