// DATA, READ and RESTORE. The pre-scan records every DATA statement in the
// DATA table; READ copies one statement's text at a time into data_text and
// assigns its values with the input parser.
#include "interpreter/data_read.h"

#include <cstring>

#include "interpreter/errors.h"
#include "interpreter/input.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/statements.h"
#include "interpreter/user_functions.h"

std::int32_t data_index = -1;
char data_text[data_text_size] = {};
const char* data_read_pointer = data_text;
const char* data_text_end = data_text;
int data_probe_kind = 0;

void data_reset_reading_state() {
  data_index = -1;
  data_text[0] = '\0';
  data_read_pointer = data_text;
  data_text_end = data_text;
}

int data_load_entry(std::int32_t index) {
  if (index < 0 || static_cast<std::uint32_t>(index) >= data_count || !program_buffer)
    return report_error(err_out_data);
  const data_entry& entry = data_table[index];
  std::uint64_t start = static_cast<std::uint64_t>(entry.line_offset) + entry.text_column;
  std::uint64_t length = entry.text_length;
  if (length > data_text_size - 1) length = data_text_size - 1;
  if (start > program_length) length = 0;
  else if (start + length > program_length) length = program_length - start;
  if (length) std::memcpy(data_text, program_buffer + start, length);
  data_text[length] = '\0';
  data_index = index;
  data_read_pointer = data_text;
  data_text_end = data_text + length;
  return 0;
}

int stmt_data() {
  // Refused in a line typed into the command box, not in the program lines
  // that line reaches by GOTO or GOSUB.
  if (command_line_mode && statement_is_typed()) return report_error(err_statement_not_valid_from_command);
  // Only the pre-scan adds entries; a run passes over DATA without counting it.
  data_entry* entry = nullptr;
  if (prescan_mode) {
    if (data_count >= data_capacity) return report_error_here(err_too_many_data_statements);
    entry = &data_table[data_count];
    entry->line_offset = program_offset;
    entry->text_column = static_cast<std::uint32_t>(scan_pointer - line_start);
    if (first_data_on_line == 0) {
      entry->statement_number = line_statement_number;
      first_data_on_line = 1;
    } else {
      entry->statement_number = 0;
    }
  }
  for (;;) {
    expr_item value{};
    int r = get_item(value, GI_DATA_VALUE);
    if (r < 0) return report_error(err_return_get_item);
    if (r == 0) break;
    if (skip_blanks() == ',') ++scan_pointer;
  }
  if (entry) {
    entry->text_length = static_cast<std::uint32_t>(scan_pointer - line_start) - entry->text_column;
    ++data_count;
  }
  return 0;
}

namespace {

// The read() probe: the kind of the next DATA value, taking nothing. The
// value is scanned from data_text with the statement's scan state kept aside.
int probe_next_value() {
  for (;;) {
    int r = 0;
    if (data_index >= 0) {
      scan_text_guard scan(data_read_pointer, data_text_end);
      statement_start = line_start = data_text;  // columns count from the text's start
      expr_item value{};
      r = get_item(value, GI_DATA_VALUE | GI_NUMBER_THEN_TEXT);
    }
    if (r < 0) return r;
    if (r > 0) {
      data_probe_kind = r == ITEM_STRING ? 1 : (r == ITEM_NUMBER_WITH_TEXT ? 3 : 2);
      return 0;
    }
    if (data_index + 1 >= static_cast<std::int32_t>(data_count)) {
      data_probe_kind = 0;  // no further value: not an error for the probe
      return 0;
    }
    if (int l = data_load_entry(data_index + 1); l < 0) return l;
  }
}

// While a user function runs, its parameters (which live in temporary space)
// must not be READ targets: the list is walked once in skip mode, which
// evaluates and creates nothing, before any value is assigned.
int refuse_parameter_targets() {
  if (!user_call_chain || no_execute) return 0;
  const char* saved_scan = scan_pointer;
  no_execute = 1;
  int result = 0;
  for (;;) {
    expr_item item{};
    int r = get_item(item, GI_STATEMENT_START);
    if (r <= 0 || r == ITEM_STATEMENT) break;
    if (item_is_parameter) {
      error_column = static_cast<int>(item.column);
      result = -204;
      break;
    }
    if (skip_blanks() != ',') break;
    ++scan_pointer;
  }
  no_execute = 0;
  scan_pointer = saved_scan;
  return result < 0 ? report_error(err_assign_value_to_argument) : 0;
}

}  // namespace

int stmt_read(int mode) {
  if (mode == 1) return probe_next_value();
  if (int r = refuse_parameter_targets(); r < 0) return r;
  for (;;) {
    int r = assign_input_items(data_text, &data_read_pointer, 0, 2);
    if (r < 0) return r;
    if (r != 1 || no_execute) return 0;
    // The loaded text is used up while variables remain: next DATA statement.
    if (data_index + 1 >= static_cast<std::int32_t>(data_count)) return report_error(err_out_data);
    if (int l = data_load_entry(data_index + 1); l < 0) return l;
  }
}

int stmt_restore() {
  skip_blanks();
  std::uint32_t column = scan_column();
  int saved_prescan = prescan_mode;
  prescan_mode = 0;  // the number is a target, not this line's own number
  int r = get_statement_number(0);
  prescan_mode = saved_prescan;
  if (r < 0) return r;
  if (no_execute) return 0;
  std::int32_t index = 0;
  if (r == 1) {
    index = -1;
    for (std::uint32_t i = 0; i < data_count; ++i) {
      if (data_table[i].statement_number == statement_number) {
        index = static_cast<std::int32_t>(i);
        break;
      }
    }
    if (index < 0) {
      return report_error_at(column, err_no_data_at_statement_number);
    }
  } else if (data_count == 0) {
    data_reset_reading_state();  // the next READ reports "Out of Data."
    return 0;
  }
  return data_load_entry(index);
}
