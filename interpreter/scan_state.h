// The scan state: where the scan of the current line stands (scan_line, in
// run_state.h) and everything an item, an expression or a statement leaves
// behind for the next step to read (scan_results: the accumulators, the name
// found and the slot it names, the error column, the error flag, the depth,
// the FIELD targets). Every place that must put the state back (a passed-over
// run replayed, the long-number routines reading a variable by name in the
// middle of their work) takes it through these, so all of them save the same
// things.
#pragma once
#include <cstddef>
#include <cstdint>

#include "interpreter/expression.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/short_copy.h"
#include "interpreter/variables.h"
#include "rizozira/long_number.h"


// What items, expressions and statements leave behind.
struct scan_results {
  std::uint32_t name_bytes;      // of name, with its NUL
  char name[current_name_size];  // current_name
  char after;                    // char_after_name
  int is_parameter;              // item_is_parameter
  int column;                    // error_column
  value_slot* slot;              // current_value_slot
  array_entry* last_array;       // last_array_entry
  double number;                 // double_accumulator
  std::int32_t text_length;      // string_accumulator_length
  std::uint32_t text_bytes;      // of text in use, with a NUL or the byte behind it
  char text[string_accumulator_size];  // string_accumulator, as far as it is used
  std::int32_t math_error;       // math_error_flag
  int depth;                     // expression_depth
  std::uint32_t field_start;     // field_target_start
  std::uint32_t field_width;     // field_target_width
  int field_file;                // field_target_file

  // Copies the state in (take) or puts it back (restore); the name and the
  // text are copied as far as they are used. The long accumulator is the
  // long-number kernels' own; scan_state_guard keeps it where a scan may
  // run in the middle of their work.
  void take();
  void restore() const;
};

// The whole scan state: the line and what the items left.
struct scan_state {
  scan_line line;
  scan_results results;
  scan_state() { results.take(); }
  void restore() const {
    line.restore();
    results.restore();
  }
};

// Takes the whole scan state and the long accumulator when constructed and
// puts them back when it ends: for a scan made in the middle of other work
// (the long-number routines reading a variable by name).
class scan_state_guard {
 public:
  scan_state_guard();
  ~scan_state_guard();
  scan_state_guard(const scan_state_guard&) = delete;
  scan_state_guard& operator=(const scan_state_guard&) = delete;

 private:
  scan_state state_;
  long_number long_value_{};
  std::uint32_t long_buffer_[long_slot_inline_blocks] = {};
};

// ------------------------------------------------ what reading an item leaves
//
// The same steps for the general road and for the remembered roads (memo.h),
// which skip the reading of items they already know and must leave the scan
// state as reading them leaves it.

// Before each item, and all that an end mark (")", ",", ";", ":" or the
// line's end) leaves: no name, no parameter.
inline void leave_no_name() {
  item_is_parameter = 0;
  current_name[0] = '\0';
}

// A simple variable: its slot and the character behind its name.
inline void leave_variable(value_slot* slot, char after) {
  item_is_parameter = 0;
  current_value_slot = slot;
  char_after_name = after;
}

// A text (a literal's, a name's, a string value's) in the string
// accumulator, cut at the longest string.
inline void leave_text(const char* text, std::size_t length) {
  if (length > max_string_length) length = max_string_length;
  copy_short(string_accumulator, text, length);
  string_accumulator[length] = '\0';
  string_accumulator_length = static_cast<std::int32_t>(length);
}

// A value passed over: 0, the empty string, no array.
inline void leave_skipped_value() {
  double_accumulator = 0.0;
  string_accumulator[0] = '\0';
  string_accumulator_length = 0;
  last_array_entry = nullptr;
}
