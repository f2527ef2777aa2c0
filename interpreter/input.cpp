// INPUT and LINE INPUT: keyboard replies with the redo loop, "%" string
// sources, INPUT # and LINE INPUT # from files, serial ports and RANDOM
// records, input-binary escapes, long-number records, and assign_input_items,
// which matches a text of values to a list of variables.
#include "interpreter/input.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "interpreter/assignment.h"
#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/file_table.h"
#include "interpreter/files.h"
#include "interpreter/keywords.h"
#include "interpreter/long_bridge.h"
#include "interpreter/output_channels.h"
#include "interpreter/pending.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/serial.h"
#include "interpreter/statements.h"
#include "interpreter/variables.h"
#include "interpreter/window_controls.h"
#include "platform/console.h"
#include "ports/frontend_port.h"
#include "rizozira/long_number.h"

char input_line[input_line_size] = {};
int input_ready = 0;
int input_value_kind = 0;
bool input_list_failed = false;

namespace {

// Main-dialog controls the INPUT wait changes (ids of the dialog template).

constexpr std::size_t binary_record_bytes_max = 128;  // BINARY record lengths stay below
constexpr int error_window_width = 78;  // the text shown under an input error
constexpr int error_window_column = 40;

// Makes text[0..length) the line being scanned, from offset on.
void scan_text(const char* text, std::size_t length, std::size_t offset) {
  point_scan_at(text, text + length);
  scan_pointer = text + offset;
}

// Skips the rest of the statement up to ":" (outside string literals).
void skip_rest_of_statement() {
  bool quoted = false;
  while (scan_pointer < line_end && *scan_pointer != '\0') {
    char c = *scan_pointer;
    if (c == '"') quoted = !quoted;
    else if (c == ':' && !quoted) return;
    ++scan_pointer;
  }
}

void set_accumulator(std::string_view text) {
  std::size_t n = text.size() < max_string_length ? text.size() : max_string_length;
  std::memcpy(string_accumulator, text.data(), n);
  string_accumulator[n] = '\0';
  string_accumulator_length = static_cast<std::int32_t>(n);
}

file_entry& channel_entry() { return file_table[current_channel]; }

// ---- showing the text after an input error ----

// Shows text as the error line with the caret at column, through a window of
// at most 78 characters.
void show_input_text(const char* title, const char* text, int column) {
  print_text(title);
  std::size_t length = std::strlen(text);
  std::size_t start = 0;
  if (length > static_cast<std::size_t>(error_window_width)) {
    if (column > error_window_column) start = static_cast<std::size_t>(column - error_window_column);
    if (length - start < static_cast<std::size_t>(error_window_width)) start = length - error_window_width;
  }
  std::size_t shown = length - start;
  if (shown > static_cast<std::size_t>(error_window_width)) shown = error_window_width;
  char window[error_window_width + 1];
  std::memcpy(window, text + start, shown);
  window[shown] = '\0';

  scan_line saved;
  int saved_column = error_column;
  scan_text(window, shown, 0);
  error_column = column - static_cast<int>(start);
  if (error_column < 0) error_column = 0;
  report_error(error_code_echo_only);
  error_column = saved_column;
  saved.restore();
}

// ---- debug echo of an assignment ----

void show_assignment(const char* name, int type) {
  if (!debug_mode && !trace_mode && !step_mode) return;
  std::string text = "Result: ";
  text += name;
  text += " = ";
  if (type == ITEM_DOUBLE) {
    char number[64];
    std::snprintf(number, sizeof number, "%23.18g", double_accumulator);
    text += number;
  } else if (type == ITEM_LONG || type == ITEM_STRING_ARRAY) {
    text += "(long number)";
  } else {
    text.append(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
  }
  text += "  ************\n";
  print_text(text);
}

// ---- the string variable of LINE INPUT ----

// A string or FIELD variable scanned at statement start, kept so that it can
// be stored into after the reply or line has been read.
struct line_target {
  int type = 0;
  value_slot* slot = nullptr;
  std::uint32_t field_start = 0;
  std::uint32_t field_width = 0;
  int field_file = 0;
};

// Reads the one string variable LINE INPUT needs (112 otherwise).
int read_line_target(line_target& target) {
  expr_item variable;
  error_column = static_cast<int>(scan_column());
  target.type = get_item(variable, GI_STATEMENT_START);
  if (target.type < 0) return target.type;
  if (target.type != ITEM_STRING && target.type != ITEM_FIELD) return report_error(err_line_input_requires_string_variable);
  target.slot = current_value_slot;
  target.field_start = field_target_start;
  target.field_width = field_target_width;
  target.field_file = field_target_file;
  return 0;
}

// Stores string_accumulator into the target. 0 or a negative code.
int store_line_target(const line_target& target) {
  int r = 0;
  if (target.type == ITEM_FIELD) {
    field_target_start = target.field_start;
    field_target_width = target.field_width;
    field_target_file = target.field_file;
    current_value_slot = target.slot;
    r = assign_field_variable(0);
  } else if (target.slot != nullptr) {
    r = assign_string_variable(target.slot, 0);
  }
  return r < 0 ? r : 0;
}

// ---- long-number records ----

// Reads one line of the current channel's text file into its buffer (at
// most the record length), line end removed. 0, or a negative reported code.
int read_file_line(file_entry& entry, int probe) {
  if (entry.stream == nullptr) return probe ? 1 : report_error(err_end_file_on_input);
  int capacity = entry.width + 1;
  if (static_cast<std::uint32_t>(capacity) > entry.line_buffer_size) capacity = static_cast<int>(entry.line_buffer_size);
  errno = 0;
  if (std::fgets(entry.line_buffer, capacity, entry.stream) == nullptr) {
    if (std::ferror(entry.stream)) {
      std::clearerr(entry.stream);
      return report_error(err_error_on_input_file);
    }
    entry.line_buffer[0] = '\0';
    entry.position = entry.line_buffer;
    return probe ? 1 : report_error(err_end_file_on_input);
  }
  std::size_t n = std::strlen(entry.line_buffer);
  // A trailing LF, CR, CR LF or LF LF is removed.
  if (n > 0 && (entry.line_buffer[n - 1] == '\n' || entry.line_buffer[n - 1] == '\r')) {
    --n;
    if (n > 0 && (entry.line_buffer[n - 1] == '\r' || entry.line_buffer[n - 1] == '\n')) --n;
  }
  entry.line_buffer[n] = '\0';
  entry.position = entry.line_buffer;
  entry.line_pending = 1;
  return 0;
}

// Reads the pieces of a long-number record announced by the header in
// string_accumulator into a new buffer. The channel's position is left
// behind the last piece, where further values of the same WRITE follow.
int read_long_record(char** text, std::uint32_t& length) {
  *text = nullptr;
  std::string header(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
  int code = parse_long_record_header(header, length);
  if (code != 0) return report_error(code);
  if (current_channel < 1 || current_channel > number_of_files || channel_entry().stream == nullptr)
    return report_error(err_error_on_input_file);  // the pieces can only come from a text file
  file_entry& entry = channel_entry();

  char* buffer = static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1));
  if (buffer == nullptr) return report_error(err_rizozira_memory_allocation_failed);
  std::uint32_t have = 0;
  scan_line saved;
  while (have < length) {
    int result = read_file_line(entry, 0);
    if (result < 0) {
      saved.restore();
      std::free(buffer);
      return result;
    }
    std::size_t line_length_now = std::strlen(entry.line_buffer);
    scan_text(entry.line_buffer, line_length_now, 0);
    skip_blanks();
    expr_item piece;
    result = scan_string_literal(piece, 0);
    if (result <= 0) {
      saved.restore();
      std::free(buffer);
      return result < 0 ? result : report_error(err_invalid_value_for_rizozira_variable);
    }
    std::uint32_t piece_length = static_cast<std::uint32_t>(string_accumulator_length);
    if (piece_length > length - have) {
      saved.restore();
      std::free(buffer);
      return report_error(err_rizozira_input_string_too_long);
    }
    std::memcpy(buffer + have, string_accumulator, piece_length);
    have += piece_length;
    // Further values of the same WRITE follow behind a ",".
    if (skip_blanks() == ',') {
      ++scan_pointer;
      skip_blanks();
    }
    entry.position = scan_pointer;
  }
  saved.restore();
  buffer[length] = '\0';
  entry.line_pending = 0;
  *text = buffer;
  return 0;
}

// ---- the value matcher ----

bool is_assignable(int type) {
  return type == ITEM_DOUBLE || type == ITEM_STRING || type == ITEM_LONG || type == ITEM_FIELD ||
         type == ITEM_STRING_ARRAY;
}

// Scans the next value of text at *position (the text stands in for the
// statement). Returns its type (0 none) or a negative code; value_column is
// the value's column in the text.
int scan_next_value(const char* text_start, const char** position, int value_flags, int& value_column) {
  scan_line saved;
  scan_text(text_start, std::strlen(text_start), static_cast<std::size_t>(*position - text_start));
  skip_blanks();
  value_column = static_cast<int>(scan_pointer - text_start);
  int flags = GI_DATA_VALUE;
  if (value_flags & 1) flags |= GI_NUMBER_THEN_TEXT;
  if (value_flags & 2) flags |= GI_WORD;
  expr_item value;
  int type = (scan_pointer >= line_end || *scan_pointer == '\0') ? 0 : get_item(value, flags);
  if (type > 0) {
    // Blanks, one "," and blanks behind the value.
    if (skip_blanks() == ',') {
      ++scan_pointer;
      skip_blanks();
    }
  }
  const char* after = scan_pointer;
  saved.restore();
  if (type > 0) *position = after;
  return type;
}

// Stores the value just scanned (in the accumulators) into the variable.
int store_value(const expr_item& variable, const line_target& target, int value_type, int mode, const char** position) {
  const int variable_type = target.type;
  value_slot* slot = target.slot;
  const int report = mode == INPUT_MODE_DIALOG ? 0 : 1;
  switch (variable_type) {
    case ITEM_DOUBLE: {
      int r = result_to_double(value_type, report);
      if (r < 0) return r;  // in a dialog: the unreported code, for its message box
      if (slot != nullptr) slot->number = double_accumulator;
      return ITEM_DOUBLE;
    }
    case ITEM_LONG: {
      if (value_type == ITEM_STRING && mode == INPUT_MODE_FILE) {
        char* text = nullptr;
        std::uint32_t length = 0;
        int r = read_long_record(&text, length);
        if (r < 0) return r;
        r = long_convert_text(text, length, long_accumulator, 1);
        std::free(text);
        if (r < 0) return r;
        value_type = ITEM_LONG;
        *position = channel_entry().position;
      }
      int r = result_to_long(value_type, report);
      if (r < 0) return r;  // in a dialog: the unreported code, for its message box
      if (slot != nullptr) {
        r = assign_long_variable(slot);
        if (r < 0) return r;
      }
      return ITEM_LONG;
    }
    case ITEM_STRING_ARRAY: {
      if (value_type != ITEM_STRING || mode != INPUT_MODE_FILE) return report_error(err_incorrect_data_type_looking_for);
      char* text = nullptr;
      int r = file_input_long_text(variable.array, &text);
      std::free(text);
      if (r < 0) return r;
      *position = channel_entry().position;
      return ITEM_STRING_ARRAY;
    }
    default: {
      if (value_type != ITEM_STRING && value_type != ITEM_NUMERIC_TEXT) return report_error(err_incorrect_data_type_looking_for_116);
      int r = store_line_target(target);
      if (r < 0) return r;
      return ITEM_STRING;
    }
  }
}

}  // namespace

int parse_long_record_header(std::string_view header, std::uint32_t& length) {
  length = 0;
  if (header.size() < 7 || strncasecmp(header.data(), "length=", 7) != 0) return err_invalid_value_for_rizozira_variable;
  std::size_t i = 7;
  std::uint64_t n = 0;
  std::size_t digits = 0;
  while (i < header.size() && header[i] >= '0' && header[i] <= '9') {
    n = n * 10 + static_cast<std::uint64_t>(header[i] - '0');
    if (n > max_long_record_length) return err_invalid_long_number_length;
    ++i;
    ++digits;
  }
  while (i < header.size() && (header[i] == ' ' || header[i] == '\t')) ++i;
  if (digits == 0 || i != header.size() || n == 0) return err_invalid_long_number_length;
  length = static_cast<std::uint32_t>(n);
  return 0;
}

std::string binary_input_text(const char* bytes, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    switch (bytes[i]) {
      case '\0': text += "\\0"; break;
      case '\n': text += "\\n"; break;
      case '\r': text += "\\r"; break;
      case '\\': text += "\\\\"; break;
      default: text += bytes[i]; break;
    }
  }
  return text;
}

int assign_input_items(const char* text_start, const char** position, int value_flags, int mode) {
  input_value_kind = 0;
  input_list_failed = false;
  int assigned = 0;
  for (;;) {
    // The next variable, peeked at the scan pointer.
    const char* variable_at = scan_pointer;
    expr_item variable;
    int variable_type = 0;
    if (statement_ends_here()) {
      variable_type = 0;
    } else {
      variable_type = get_item(variable, GI_STATEMENT_START);
      if (variable_type < 0) {
        input_list_failed = true;
        return variable_type;
      }
      if (variable_type == ITEM_STATEMENT) {
        scan_pointer = variable_at;  // a statement word ends the list
        variable_type = 0;
      } else if (variable_type != 0 && !is_assignable(variable_type)) {
        input_list_failed = true;
        return report_error(err_string_or_numeric_variable);
      } else if (variable_type != 0 && item_is_parameter) {
        // A function parameter lives in temporary space: it cannot take input.
        error_column = static_cast<int>(variable_at - statement_start);
        input_list_failed = true;
        return report_error(err_assign_value_to_argument);
      }
    }
    line_target target;
    target.type = variable_type;
    target.slot = current_value_slot;
    target.field_start = field_target_start;
    target.field_width = field_target_width;
    target.field_file = field_target_file;
    std::string name = current_name;
    if (variable_type != 0 && skip_blanks() == ',') ++scan_pointer;

    if (no_execute) {
      if (variable_type == 0) return 0;
      continue;
    }

    // Once every listed variable has its value, READ and file input only need
    // to know whether text is left: a malformed value there is not theirs.
    if (variable_type == 0 && assigned > 0 && (mode == INPUT_MODE_READ || mode == INPUT_MODE_FILE)) {
      const char* p = *position;
      while (*p == ' ' || *p == '\t') ++p;
      return *p != '\0' ? 2 : 0;
    }

    // The next value from the text.
    const char* value_at = *position;
    int value_column = 0;
    int value_type = scan_next_value(text_start, position, value_flags, value_column);
    if (value_type < 0) {
      if (mode == INPUT_MODE_READ || mode == INPUT_MODE_FILE)
        show_input_text(mode == INPUT_MODE_READ ? "Data Statement:" : "Input line (partial):", text_start, value_column);
      return value_type;
    }
    if (variable_type == 0) {
      if (value_type == 0) return (value_flags != 0) ? 1 : 0;
      // A value is left over (or, with an empty list, exists): not taken.
      input_value_kind = value_type;
      *position = value_at;
      return 2;
    }
    if (value_type == 0) {
      scan_pointer = variable_at;  // the variable waits for the next text
      return 1;
    }

    int stored = store_value(variable, target, value_type, mode, position);
    if (stored < 0) {
      if (mode == INPUT_MODE_READ || mode == INPUT_MODE_FILE)
        show_input_text(mode == INPUT_MODE_READ ? "Data Statement:" : "Input line (partial):", text_start, value_column);
      return stored;
    }
    show_assignment(name.c_str(), stored);
    ++assigned;
  }
}

// ---- keyboard ----

int read_input_line() {
  current_channel = 0;
  input_line[0] = '\0';
  if (no_execute) return 0;
  input_waiting = 1;
  if (console_mode) {
    char buffer[input_line_size];
    std::size_t count = 0;
    if (!console_read_line(buffer, sizeof buffer, count)) {
      input_waiting = 0;
      // No reply can ever come: end the run instead of asking forever.
      return report_error_message(err_end_file_on_input, "End of input: no reply for INPUT.");
    }
    if (count > 0 && buffer[count - 1] == '\n') {
      --count;
    } else {
      // A reply longer than the line holds: the rest of it is dropped, so it
      // cannot turn into the next reply or console command.
      char rest[input_line_size];
      std::size_t rest_count = 0;
      while (console_read_line(rest, sizeof rest, rest_count) && rest[rest_count - 1] != '\n') {
      }
    }
    if (count > 0 && buffer[count - 1] == '\r') --count;
    std::memcpy(input_line, buffer, count);
    input_line[count] = '\0';
    if (file_table != nullptr) {
      file_table[0].column = 0;
      file_table[0].buffer_length = 0;
      file_table[0].tab_target = -1;
    }
  } else {
    controls_reply_box_ready();
    input_ready = 0;
    // A Step pressed while the reply is awaited: stepping goes on from here.
    wait_for_events_until([] { return input_ready || !input_waiting; }, true);
    if (input_ready) input_ready = 0;
    else frontend_port().set_control_text(IDC_COMMAND, "");
    input_line[input_line_size - 1] = '\0';
  }
  std::size_t n = std::strlen(input_line);
  while (n > 0 && (input_line[n - 1] == ' ' || input_line[n - 1] == '\t')) --n;
  input_line[n] = '\0';
  input_waiting = 0;
  return 0;
}

namespace {

// Prints the prompt on the screen channel and leaves the line open.
int print_prompt(const std::string& prompt) {
  if (no_execute || prescan_mode || file_table == nullptr) return 0;
  current_channel = 0;
  file_table[0].tab_target = 0;
  file_table[0].line_continues = 1;
  set_accumulator(prompt);
  int r = print_item(ITEM_STRING, 0);
  if (r < 0) return r;
  return print_end_line();
}

// The keyboard INPUT and LINE INPUT statements after the channel prefix.
int keyboard_input(int line_flag) {
  bool keep_line_open = false;
  if (!line_flag && skip_blanks() == ';') {
    keep_line_open = true;
    ++scan_pointer;
  }
  std::string prompt = console_mode ? "?" : "";
  if (skip_blanks() == '"') {
    expr_item literal;
    int r = scan_string_literal(literal, 0);
    if (r < 0) return r;
    prompt.assign(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
    char c = skip_blanks();
    if (c != ';' && c != ',') return report_error_here(err_prompt_string_followed_by_semicolon);
    ++scan_pointer;
  }
  line_target target;
  if (line_flag) {
    int r = read_line_target(target);
    if (r < 0) return r;
  }
  const char* list_start = scan_pointer;

  for (;;) {
    int r = print_prompt(prompt);
    if (r < 0) return r;
    if (!console_mode) controls_input_wait(true);
    r = read_input_line();
    if (!console_mode) controls_input_wait(false);
    if (file_table != nullptr) file_table[0].tab_target = -1;
    if (r < 0) return r;
    if (!console_mode && !no_execute) {
      print_text(input_line);
      if (!keep_line_open) print_text("\n");
      if (file_table != nullptr) {
        if (keep_line_open) {
          file_table[0].column += static_cast<std::int32_t>(std::strlen(input_line));
        } else {
          file_table[0].column = 0;
          file_table[0].buffer_length = 0;
        }
      }
    }
    if (kill_requested && !no_execute) return 0;
    if (line_flag) {
      if (no_execute) return 0;
      set_accumulator(input_line);
      return store_line_target(target);
    }
    scan_pointer = list_start;
    const char* position = input_line;
    r = assign_input_items(input_line, &position, 0, INPUT_MODE_KEYBOARD);
    // A fault in the variable list itself (not a variable, a parameter, a
    // bad subscript): no reply can mend it, so asking again would never end.
    if (r < 0 && input_list_failed) return r;
    if (r == 1) report_error(err_not_enough_data_values);
    if (r == 2) report_error(err_too_many_data_values);
    if (no_execute || kill_requested || r == 0) return 0;
    prompt = "?Redo from start:\n";
  }
}

// LINE INPUT # from an input-binary file: raw bytes with escapes.
int binary_line_input(const line_target& target) {
  file_entry& entry = channel_entry();
  char bytes[binary_record_bytes_max];
  std::size_t want = static_cast<std::size_t>(entry.width);
  if (want > sizeof bytes) want = sizeof bytes;
  ssize_t got;
  do {
    got = ::read(entry.descriptor, bytes, want);
  } while (got < 0 && errno == EINTR);
  if (got < 0) return report_error(err_error_on_input_file);
  if (got == 0) return report_error(err_end_file_on_input);  // nothing more to read
  set_accumulator(binary_input_text(bytes, static_cast<std::size_t>(got)));
  return store_line_target(target);
}

}  // namespace

int input_from_string() {
  const char* position = input_source_string;
  int r = assign_input_items(input_source_string, &position, 0, INPUT_MODE_FILE);
  if (r < 0) return r;
  skip_rest_of_statement();
  return 0;
}

int file_input(int line_flag, int probe_flag) {
  if (no_execute) {
    // Pre-scan and skip mode: the channel is not looked at; the variable
    // list is only read through.
    if (probe_flag) return 0;
    if (line_flag) {
      line_target target;
      return read_line_target(target);
    }
    char empty[1] = {'\0'};
    const char* position = empty;
    int r = assign_input_items(empty, &position, 0, INPUT_MODE_FILE);
    return r < 0 ? r : 0;
  }
  if (current_channel < 1 || current_channel > number_of_files || file_table[current_channel].handle == 0)
    return report_error(err_file_number_does_not_represent);
  file_entry& entry = channel_entry();
  input_value_kind = 0;
  const bool serial = entry.mode == FILE_MODE_SERIAL;
  bool serial_line_read = false;
  if (serial && !probe_flag) {
    entry.line_buffer[0] = '\0';
    entry.position = entry.line_buffer;
    entry.line_pending = 0;
  }

  line_target target;
  if (line_flag && !probe_flag) {
    int r = read_line_target(target);
    if (r < 0) return r;
  }

  if (entry.mode == FILE_MODE_INPUT_BINARY) {
    if (!line_flag) return report_error(err_invalid_operation_for_binary_file);
    if (probe_flag) return report_error(err_invalid_file_type_for_function);
    return binary_line_input(target);
  }

  // The probe has no variable list: the matcher then only looks.
  const char* saved_pointer = scan_pointer;
  if (probe_flag) scan_pointer = line_end;
  int result = 0;
  for (;;) {
    bool need_line = false;
    if (line_flag) {
      if (*entry.position == '\0' && !entry.line_pending) {
        need_line = true;
      } else if (probe_flag) {
        input_value_kind = ITEM_STRING;
        break;
      } else {
        std::size_t rest = std::strlen(entry.position);
        if (rest > max_string_length) rest = max_string_length;
        set_accumulator(std::string_view(entry.position, rest));
        entry.position += rest;
        entry.line_pending = 0;
        result = store_line_target(target);
        break;
      }
    } else {
      entry.line_pending = 0;
      const char* position = entry.position;
      int r = assign_input_items(entry.line_buffer, &position, probe_flag, INPUT_MODE_FILE);
      entry.position = position;
      if (r < 0) {
        result = r;
        break;
      }
      if (r != 1) break;
      need_line = true;
    }
    if (!need_line) break;

    // A further line is needed.
    if (entry.mode == FILE_MODE_RANDOM) {
      if (probe_flag) {
        input_value_kind = 0;
        break;
      }
      result = report_error(err_attempt_to_read_write_beyond);
      break;
    }
    if (serial) {
      if (serial_line_read) break;  // one line per statement
      serial_eof_probe = 0;
      int r = serial_read_line(entry);
      if (r < 0) {
        result = r;
        break;
      }
      serial_line_read = true;
      entry.position = entry.line_buffer;
      entry.line_pending = 1;
      continue;
    }
    int r = read_file_line(entry, probe_flag);
    if (r < 0) {
      result = r;
      break;
    }
    if (r == 1) {  // probe at the end of the file
      input_value_kind = 0;
      break;
    }
  }
  if (probe_flag) scan_pointer = saved_pointer;
  if (serial) entry.column = 0;
  if (!probe_flag && result >= 0) skip_rest_of_statement();
  return result;
}

int file_input_long_number(char** text) {
  std::uint32_t length = 0;
  int r = read_long_record(text, length);
  if (r < 0) return r;
  r = long_convert_text(*text, length, long_accumulator, 1);
  if (r < 0) return r;
  return ITEM_LONG;
}

int file_input_long_text(array_entry* target, char** text) {
  std::uint32_t length = 0;
  int r = read_long_record(text, length);
  if (r < 0) return r;
  expr_item destination;
  destination.type = ITEM_STRING_ARRAY;
  destination.array = target;
  r = long_store_text(&destination, *text, static_cast<int>(length), 0);
  if (r < 0) return r;
  return ITEM_LONG;
}

// INPUT [#n, | %source, ] [;] ["prompt";] variables
int stmt_input() {
  input_source_is_string = 0;
  int channel = file_get_number(0, 0);
  if (channel < 0) return channel;
  if (channel > 0) {
    current_channel = channel;
    return file_input(0, 0);
  }
  if (input_source_is_string) {
    int r = input_from_string();
    input_source_is_string = 0;
    return r;
  }
  return keyboard_input(0);
}

// LINE INPUT [#n,] ["prompt";] string variable (the scan pointer is behind LINE)
int stmt_line_input() {
  expr_item word;
  const char* at = scan_pointer;
  error_column = static_cast<int>(scan_column());
  int type = get_item(word, GI_STATEMENT_START);
  if (type < 0) return type;
  if (type != ITEM_STATEMENT || word.value.token != STMT_INPUT) {
    scan_pointer = at;
    return report_error(err_invalid_statement);
  }
  int channel = file_get_number(0, 1);
  if (channel < 0) return channel;
  if (channel > 0) {
    current_channel = channel;
    return file_input(1, 0);
  }
  return keyboard_input(1);
}
