// PRINT and WRITE: the channel prefix, placing items into a channel's line
// with zones, TAB and wrapping, ending lines, PRINT to a string variable,
// long-number records and PRINT # to BINARY files.
#include "interpreter/output_channels.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <unistd.h>

#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/file_table.h"
#include "interpreter/functions.h"
#include "interpreter/keywords.h"
#include "interpreter/number_format.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/serial.h"
#include "interpreter/statements.h"
#include "interpreter/variables.h"
#include "rizozira/long_number.h"

char print_format[print_format_size] = "%13.6g";
int write_mode = 0;
int tab_allowed = 0;
int print_using_active = 0;
int print_to_string = 0;
void* print_string_target = nullptr;
int print_string_assigned = 0;
int print_format_is_default = 0;
std::int32_t output_column = 0;
char input_source_string[input_source_size] = {};
int input_source_is_string = 0;

namespace {

constexpr char max_format[] = "%23.18g";
constexpr char write_format[] = "%22.16g";

bool is_file_channel(int channel) { return channel >= 1 && channel <= number_of_files; }
bool is_string_channel(int channel) { return channel == print_string_channel; }

// Room of a channel's line buffer (OPEN gives record length + 300 bytes).
std::uint32_t buffer_room(const file_entry& f) {
  if (f.line_buffer_size != 0) return f.line_buffer_size;
  return static_cast<std::uint32_t>(f.width > 0 ? f.width : 0) + line_buffer_margin;
}

// Copies text into a fixed buffer of size bytes, cut to fit.
void copy_bounded(char* out, std::size_t size, const char* text) {
  std::size_t n = std::strlen(text);
  if (n >= size) n = size - 1;
  std::memcpy(out, text, n);
  out[n] = 0;
}

void set_format(const char* text) {
  if (strcasecmp(text, "max") == 0) text = max_format;
  copy_bounded(print_format, print_format_size, text);
}

// Appends bytes to the open line (RANDOM: into the record at the column).
// The widths keep every line inside its buffer; anything beyond is cut.
void append_to_line(file_entry& f, std::string_view text) {
  if (f.line_buffer == nullptr) return;
  std::uint32_t room = buffer_room(f);
  std::uint32_t at = static_cast<std::uint32_t>(f.mode == FILE_MODE_RANDOM && is_file_channel(current_channel)
                                                    ? f.column
                                                    : f.buffer_length);
  if (at + 1 >= room) return;
  std::size_t n = text.size();
  if (at + n + 1 > room) n = room - at - 1;
  std::memcpy(f.line_buffer + at, text.data(), n);
  f.buffer_length = static_cast<std::int32_t>(at + n);
  f.line_buffer[f.buffer_length] = 0;
}

void empty_line_buffer(file_entry& f) {
  f.buffer_length = 0;
  if (f.line_buffer != nullptr) f.line_buffer[0] = 0;
}

// Element block of the array whose element is the PRINT-to-string target
// (null for a simple variable).
const value_slot* print_string_block = nullptr;

// Assigns text (at most 255 characters) to the PRINT-to-string target.
int assign_string_target(std::string_view text) {
  if (print_string_target == nullptr) return 0;
  if (print_string_block != nullptr && !array_block_alive(print_string_block)) {
    print_string_target = nullptr;
    return report_error(err_subscript_out_range_or_invalid);  // the array went away during the statement
  }
  std::size_t n = text.size() < max_string_length ? text.size() : max_string_length;
  std::memcpy(string_accumulator, text.data(), n);
  string_accumulator[n] = 0;
  string_accumulator_length = static_cast<std::int32_t>(n);
  int result = assign_string_variable(static_cast<value_slot*>(print_string_target), 0);
  return result < 0 ? result : 0;
}

// Writes the channel's line buffer out: a serial line, or text to the screen
// or a file. The buffer is emptied.
int flush_line(file_entry& f) {
  int result = 0;
  if (f.mode == FILE_MODE_SERIAL && is_file_channel(current_channel)) {
    result = serial_write_line(f);
  } else if (f.line_buffer != nullptr) {
    result = write_channel_text(std::string_view(f.line_buffer, static_cast<std::size_t>(f.buffer_length)));
  }
  empty_line_buffer(f);
  return result;
}

// Ends the open line before an item that does not fit or a TAB to the left.
// The screen gets no line end after a full 80-column line (the output box
// breaks it), a file always does. The string target takes the text so far
// and drops the rest of the statement's line.
int break_line(file_entry& f, bool always_line_end) {
  if (is_string_channel(current_channel)) {
    if (!print_string_assigned) {
      int result = assign_string_target(std::string_view(f.line_buffer, static_cast<std::size_t>(f.buffer_length)));
      if (result < 0) return result;
    }
    print_string_assigned = 1;
    empty_line_buffer(f);
  } else {
    if (always_line_end || is_file_channel(current_channel) || f.column != f.width) append_to_line(f, "\n");
    int result = flush_line(f);
    if (result < 0) return result;
  }
  f.column = 0;
  return 0;
}

// WRITE's form of a string: quoted, with \" \\ \n \r escapes.
std::string quote_for_write(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

// The text of a long number (the accumulator is cleared by the conversion).
int long_text(std::string& out) {
  char* text = nullptr;
  std::int64_t length = long_to_text_alloc(long_accumulator, &text);
  if (length < 0 || text == nullptr) return length < 0 ? static_cast<int>(length) : -1;
  out.assign(text, static_cast<std::size_t>(length));
  std::free(text);
  return 0;
}

// The elements of a whole one-dimensional string array, joined.
std::string joined_string_array() {
  std::string out;
  const array_entry* entry = last_array_entry;
  if (entry == nullptr || entry->data == nullptr) return out;
  std::size_t count = array_element_count(*entry);
  for (std::size_t i = 0; i < count; ++i) out += string_space_text(entry->data[i].string_offset);
  return out;
}

// WRITE of a long number or a whole string array: a "Length=N" header line,
// then the digits in quoted pieces; the last piece stays in the open line.
int write_long_record(file_entry& f, const std::string& text) {
  std::int32_t w = f.width < 80 ? f.width : 80;
  if (w < 3) w = 3;
  if (f.column != 0) {
    if (int r = break_line(f, true); r < 0) return r;
  }
  char header[40];
  std::snprintf(header, sizeof header, "\"Length=%zu\"\n", text.size());
  append_to_line(f, header);
  if (int r = flush_line(f); r < 0) return r;
  std::size_t piece = static_cast<std::size_t>(w - 2);
  std::size_t at = 0;
  while (text.size() - at + 2 > static_cast<std::size_t>(w)) {
    std::string line = "\"" + text.substr(at, piece) + "\"\n";
    append_to_line(f, line);
    if (int r = flush_line(f); r < 0) return r;
    at += piece;
  }
  std::string last = "\"" + text.substr(at) + "\"";
  append_to_line(f, last);
  f.column = static_cast<std::int32_t>(last.size());
  return 0;
}

}  // namespace

void print_format_line(const char* format, const char* argument) {
  // The format holds one "%s"; it is filled in here rather than handed to
  // printf, so a stray conversion can never read a missing argument.
  std::string line;
  for (const char* p = format; *p != 0 && line.size() < 1079; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      line += argument != nullptr ? argument : "";
      ++p;
    } else if (p[0] == '%' && p[1] == '%') {
      line += '%';
      ++p;
    } else {
      line += *p;
    }
  }
  if (line.size() > 1079) line.resize(1079);
  print_line(line);
}

int write_channel_text(std::string_view text) {
  if (current_channel == 0) {
    print_text(text);
    return 0;
  }
  if (!is_file_channel(current_channel) || file_table == nullptr) return report_error(err_file_number_1_and_number);
  file_entry& f = file_table[current_channel];
  if (f.handle == 0 || f.stream == nullptr) return report_error(err_invalid_file_number);
  if (f.mode != FILE_MODE_OUTPUT && f.mode != FILE_MODE_APPEND) return report_error(err_file_was_opened_with_different);
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), f.stream) != text.size())
    return report_error_message(err_error_on_input_file, "Error on output file.");
  return 0;
}

int file_get_number(int kind, int line_input) {
  const char* saved = scan_pointer;
  skip_blanks();
  error_column = static_cast<int>(scan_column());
  char c = scan_pointer < line_end ? *scan_pointer : 0;
  bool quiet = prescan_mode || no_execute;

  if (c == '%' && kind == 0) {
    if (line_input) return report_error_here(err_invalid_statement);
    ++scan_pointer;
    const char* expression_at = scan_pointer;
    int type = evaluate_expression_release_temps(2);
    if (type < 0) return type;
    if (!quiet) {
      if (type != ITEM_STRING) {
        scan_pointer = expression_at;
        return report_error_here(err_invalid_type_expecting_string);
      }
      copy_bounded(input_source_string, input_source_size, string_accumulator);
    }
    bool separated = scan_pointer > expression_at && (scan_pointer[-1] == ',' || scan_pointer[-1] == ';');
    char next = peek_nonblank();
    if (!separated && next != 0 && next != ':') return report_error_here(err_string_followed_by_semicolon_or);
    input_source_is_string = 1;
    return 0;
  }
  if (c == '%' && kind == 1) {
    ++scan_pointer;
    expr_item target;
    // The target is read as a statement's target is: a string variable or
    // element gives its slot; a literal, a call or a special name gives none,
    // and no slot an earlier item left counts for it.
    current_value_slot = nullptr;
    int type = get_item(target, GI_STATEMENT_START);
    if (type < 0) return type;
    if (type == ITEM_FUNCTION || (!quiet && (type != ITEM_STRING || current_value_slot == nullptr))) {
      return report_error_at(target.column, err_invalid_type_expecting_string);
    }
    value_slot* slot = current_value_slot;
    char next = scan_pointer < line_end ? *scan_pointer : 0;
    if (next == ';' || next == ',') {
      ++scan_pointer;
    } else if (peek_nonblank() != 0 && peek_nonblank() != ':') {
      return report_error_here(err_string_followed_by_semicolon_or);
    }
    print_string_target = slot;
    print_string_block = target.array != nullptr ? target.array->data : nullptr;
    print_to_string = 1;
    return print_string_channel;
  }
  if (c == '#') {
    ++scan_pointer;
    int type = evaluate_expression_release_temps(2);
    if (type <= 0) return report_error(err_invalid_file_number);
    if (result_to_double(type, 0) != ITEM_DOUBLE) return report_error(err_invalid_file_number);
    double value = double_accumulator;
    bool separated = scan_pointer[-1] == ',' || scan_pointer[-1] == ';';
    char next = peek_nonblank();
    if (!separated && next != 0 && next != ':') return report_error_here(err_file_number_followed_by_semicolon);
    if (quiet) return 1;
    if (!(value >= 1 && value <= static_cast<double>(number_of_files))) return report_error(err_file_number_1_and_number);
    int channel = static_cast<int>(value);
    const file_entry& f = file_table[channel];
    if (f.handle == 0) return report_error(err_file_number_does_not_represent);
    bool allowed = false;
    switch (kind) {
      case 0: allowed = f.mode == FILE_MODE_INPUT || f.mode == FILE_MODE_RANDOM || f.mode == FILE_MODE_SERIAL ||
                        f.mode == FILE_MODE_INPUT_BINARY;
        break;
      case 1: allowed = f.mode == FILE_MODE_OUTPUT || f.mode == FILE_MODE_RANDOM || f.mode == FILE_MODE_APPEND ||
                        f.mode == FILE_MODE_SERIAL || f.mode == FILE_MODE_OUTPUT_BINARY;
        break;
      default: allowed = f.mode == FILE_MODE_RANDOM; break;
    }
    if (!allowed) return report_error(err_file_was_opened_with_different);
    return channel;
  }
  scan_pointer = saved;
  if (kind == 2) return report_error(err_invalid_file_number);
  return 0;
}

void load_printformat() {
  print_format_is_default = 0;
  int index = find_variable("printformat$$");
  if (index >= 0 && variable_table[index].type == ITEM_STRING && variable_table[index].value.string_offset != 0) {
    set_format(string_space_text(variable_table[index].value.string_offset));
    return;
  }
  set_format(predefined_string(PREDEF_DEFAULTPRINTFORMAT));
  print_format_is_default = 1;
}

void load_printtabs() {
  if (!channel_in_range(current_channel)) return;
  double zone = predefined_variables[PREDEF_DEFAULTPRINTTABS].value.number;
  int index = find_variable("printtabs");
  if (index >= 0 && variable_table[index].type == ITEM_DOUBLE) {
    double value = std::trunc(variable_table[index].value.number);
    if (value >= 1 && value < 80) zone = value;
  }
  if (!(zone >= 1 && zone < 80)) zone = default_zone_width;
  file_table[current_channel].zone_width = static_cast<std::int32_t>(zone);
}

int print_item(int type, int write_flag) {
  if (!channel_in_range(current_channel)) return report_error(err_file_number_1_and_number);
  file_entry& f = file_table[current_channel];
  bool random = f.mode == FILE_MODE_RANDOM && is_file_channel(current_channel);
  bool serial = f.mode == FILE_MODE_SERIAL && is_file_channel(current_channel);
  bool string_target = is_string_channel(current_channel);

  std::string text;
  bool long_record = false;
  if (type == ITEM_DOUBLE) {
    int r = format_number(write_flag ? write_format : print_format, double_accumulator);
    if (r < 0) return r;
    text.assign(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
    if (write_flag) text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size() : text.find_first_not_of(' '));
  } else if (type == ITEM_STRING || type == ITEM_NUMERIC_TEXT) {
    text.assign(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
    if (write_flag && type == ITEM_STRING) text = quote_for_write(text);
  } else if (type == ITEM_LONG || type == ITEM_STRING_ARRAY) {
    if (write_flag && (random || string_target)) {
      print_to_string = 0;
      print_string_target = nullptr;
      current_channel = 0;
      return report_error(err_write_rizozira_number_to_random);
    }
    if (type == ITEM_STRING_ARRAY) {
      text = joined_string_array();
    } else if (print_using_active && !write_flag) {
      int r = format_long_number(long_accumulator, print_format);
      if (r < 0) return r;
      text.assign(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
    } else if (int r = long_text(text); r < 0) {
      return r;
    }
    long_record = write_flag != 0;
  } else if (type != ITEM_FUNCTION) {
    return report_error(err_invalid_type);
  }

  // A TAB to the left of the column starts a new line.
  if (f.tab_target >= 0 && f.tab_target < f.column) {
    if (random) return report_error(err_attempt_to_read_write_beyond);
    if (serial) return report_error(err_attempt_to_read_write_beyond_318);
    if (int r = break_line(f, true); r < 0) return r;
  }
  if (type == ITEM_FUNCTION) return 0;

  if (long_record) {
    int r = write_long_record(f, text);
    f.tab_target = -1;
    return r;
  }

  std::int32_t padding = 0;
  if (write_flag || f.line_continues == 1) {
    if (f.tab_target >= f.column) padding = f.tab_target - f.column;
  } else if (f.zone_width > 0 && f.column % f.zone_width != 0) {
    padding = f.zone_width - f.column % f.zone_width;
  }
  bool comma = write_flag && f.column != 0;
  std::int64_t needed = static_cast<std::int64_t>(f.column) + padding + static_cast<std::int64_t>(text.size()) + (comma ? 1 : 0);
  if (needed > f.width) {
    if (random) return report_error(err_attempt_to_read_write_beyond);
    if (serial) return report_error(err_attempt_to_read_write_beyond_318);
    if (f.column > 0) {
      if (int r = break_line(f, false); r < 0) return r;
    }
    comma = false;
  } else {
    if (comma) {
      append_to_line(f, ",");
      ++f.column;
    }
    append_to_line(f, std::string(static_cast<std::size_t>(padding), ' '));
    f.column += padding;
  }
  f.tab_target = -1;

  std::string_view rest = text;
  if (static_cast<std::int64_t>(rest.size()) > f.width && f.width > 0) {
    std::size_t width = static_cast<std::size_t>(f.width);
    if (string_target) {
      // One item longer than the whole line: its first 255 characters are the value.
      if (!print_string_assigned) {
        if (int r = assign_string_target(rest.substr(0, width)); r < 0) return r;
      }
      print_string_assigned = 1;
      rest = std::string_view();
    } else {
      while (rest.size() > width) {
        append_to_line(f, rest.substr(0, width));
        if (is_file_channel(current_channel)) append_to_line(f, "\n");
        if (int r = flush_line(f); r < 0) return r;
        rest.remove_prefix(width);
      }
    }
    f.column = 0;
  }
  append_to_line(f, rest);
  f.column += static_cast<std::int32_t>(rest.size());
  if (type == ITEM_DOUBLE && !write_flag && f.column < f.width) {
    append_to_line(f, " ");
    ++f.column;
  }
  while (f.width > 0 && f.column > f.width) f.column -= f.width;
  return 0;
}

int print_end_line() {
  if (!channel_in_range(current_channel)) return report_error(err_file_number_1_and_number);
  file_entry& f = file_table[current_channel];
  bool random = f.mode == FILE_MODE_RANDOM && is_file_channel(current_channel);
  bool string_target = is_string_channel(current_channel);

  if (f.line_continues == 0) {
    if (random) {
      if (f.line_buffer != nullptr && f.column < f.width) {
        std::uint32_t room = buffer_room(f);
        std::int32_t end = static_cast<std::uint32_t>(f.width) < room ? f.width : static_cast<std::int32_t>(room) - 1;
        if (f.column < end) std::memset(f.line_buffer + f.column, ' ', static_cast<std::size_t>(end - f.column));
        if (end >= 0) f.line_buffer[end] = 0;
        f.buffer_length = end;
      }
    } else if (!string_target) {
      append_to_line(f, "\n");
    }
    f.column = 0;
  } else if (is_file_channel(current_channel) && !random && f.column == f.width) {
    append_to_line(f, "\n");
    f.column = 0;
  }
  if (random) return 0;

  if (string_target) {
    if (!print_string_assigned) {
      int r = assign_string_target(std::string_view(f.line_buffer, static_cast<std::size_t>(f.buffer_length)));
      if (r < 0) return r;
      if (f.line_continues == 0) empty_line_buffer(f);
    } else {
      empty_line_buffer(f);
    }
    if (f.line_continues == 0) print_string_assigned = 0;
    return 0;
  }
  int result = flush_line(f);
  if (current_channel == 0 && f.column == f.width) f.column = 0;
  return result < 0 ? result : 0;
}

int file_print_binary() {
  file_entry& f = file_table[current_channel];
  if (peek_nonblank() == ',') return report_error_here(err_too_many_parameters);
  std::string raw;
  const char* s = string_accumulator;
  for (std::int32_t i = 0; i < string_accumulator_length; ++i) {
    if (s[i] != '\\') {
      raw += s[i];
      continue;
    }
    if (i + 1 >= string_accumulator_length) break;  // a backslash at the end is dropped
    char next = s[++i];
    switch (next) {
      case '0': raw += '\0'; break;
      case 'n': raw += '\n'; break;
      case 'r': raw += '\r'; break;
      default: raw += next; break;  // "\\" gives one backslash; others lose the backslash
    }
  }
  if (static_cast<std::int64_t>(raw.size()) > f.width) return report_error(err_string_too_long_for_binary);
  std::size_t done = 0;
  while (done < raw.size()) {
    ssize_t n = ::write(f.descriptor, raw.data() + done, raw.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return report_error(err_binary_file_write_error);
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

int print_screen_item_line(std::string_view text) {
  int saved_channel = current_channel;
  current_channel = 0;
  file_entry& screen = file_table[0];
  empty_line_buffer(screen);
  if (screen.line_continues == 0) screen.tab_target = -1;
  std::size_t n = text.size() < string_accumulator_size - 1 ? text.size() : string_accumulator_size - 1;
  std::memcpy(string_accumulator, text.data(), n);
  string_accumulator[n] = 0;
  string_accumulator_length = static_cast<std::int32_t>(n);
  int result = print_item(ITEM_STRING, 0);
  screen.line_continues = 0;
  if (result >= 0) result = print_end_line();
  current_channel = saved_channel;
  return result;
}

namespace {

// The common body of PRINT and WRITE.
int print_statement(int write) {
  write_mode = write;
  current_channel = 0;
  int channel = file_get_number(1, 0);
  if (channel < 0) return channel;
  current_channel = channel;
  load_printformat();
  load_printtabs();
  file_entry& f = file_table[current_channel];
  bool random = f.mode == FILE_MODE_RANDOM && is_file_channel(current_channel);
  if (!no_execute) {
    if (!random) {
      if (!is_string_channel(current_channel)) empty_line_buffer(f);
    } else if (f.column == 0 && f.line_buffer != nullptr) {
      std::uint32_t room = buffer_room(f);
      std::int32_t end = static_cast<std::uint32_t>(f.width) < room ? f.width : static_cast<std::int32_t>(room) - 1;
      if (end > 0) std::memset(f.line_buffer, ' ', static_cast<std::size_t>(end));
      f.buffer_length = 0;
    }
    if (f.line_continues == 0) f.tab_target = -1;
  }

  print_using_active = 0;
  if (write) {
    set_format(write_format);
  } else {
    // Only the name of the first item is looked at, so that a function call
    // there is not run twice (once here, once as the item).
    const char* before = scan_pointer;
    bool is_using = false;
    if (std::isalpha(static_cast<unsigned char>(peek_nonblank()))) {
      expr_item first;
      is_using = get_item(first, GI_NAME_ONLY) == ITEM_NONE && strcasecmp(string_accumulator, "using") == 0;
    }
    if (is_using) {
      expr_item format;
      int type = get_item(format, 0);
      if (type != ITEM_STRING) {
        return report_error_at(format.column, err_invalid_format_string_for_print);
      }
      set_format(string_accumulator);
      char next = scan_pointer < line_end ? *scan_pointer : 0;
      if (next != ';' && next != ',') return report_error_here(err_format_string_followed_by_semicolon);
      ++scan_pointer;
      print_using_active = 1;
    } else {
      scan_pointer = before;
    }
  }

  int items = 0;
  int result = 0;
  for (;;) {
    if (!no_execute && f.line_continues == 0) f.tab_target = -1;
    const char* at = scan_pointer;
    expr_item peek;
    int kind = 0;
    if (peek_nonblank() == '(') {
      // A parenthesised expression is an ordinary item ("(" at statement
      // start would otherwise be refused).
      kind = ITEM_DOUBLE;
      peek.column = static_cast<std::uint32_t>(scan_column());
    } else {
      kind = get_item(peek, GI_STATEMENT_START);
      scan_pointer = at;
      if (kind < 0) return report_error(err_return_get_item);
      if (kind == 0) {
        skip_blanks();  // the statement ends at the ":" or the line end
        break;
      }
    }

    if (f.mode == FILE_MODE_OUTPUT_BINARY && is_file_channel(current_channel) && !prescan_mode && !no_execute) {
      if (write) {
        return report_error_at(0, err_write_not_valid_for_binary);
      }
      if (kind != ITEM_STRING && kind != ITEM_STRING_AT_START) {
        return report_error_at(peek.column, err_invalid_type_expecting_string);
      }
      expr_item item;
      if (int r = get_item(item, 0); r < 0) return r;
      result = file_print_binary();
      print_to_string = 0;
      return result;
    }

    if (kind == ITEM_FUNCTION && peek.value.token == FUNC_TAB) {
      if (!write) tab_allowed = 1;
      int type = evaluate_expression_release_temps(2);
      tab_allowed = 0;
      if (type < 0) return type;
      if (!no_execute && type == ITEM_DOUBLE) {
        double column = std::trunc(double_accumulator) - 1;
        f.tab_target = (column >= -1 && column <= 32767) ? static_cast<std::int32_t>(column) : -1;
        f.line_continues = f.tab_target >= 0 ? 1 : 0;
      }
      ++items;
      if (!no_execute) {
        if (int r = print_item(ITEM_FUNCTION, write); r < 0) return r;
      }
      continue;
    }

    int type = evaluate_expression_release_temps(2);
    if (type < 0) return type;
    if (type == 0) break;
    if (type != ITEM_DOUBLE && type != ITEM_STRING && type != ITEM_STRING_ARRAY && type != ITEM_LONG &&
        type != ITEM_NUMERIC_TEXT) {
      // A whole numeric or long array has no printed form.
      return report_error_at(peek.column, err_invalid_type);
    }
    ++items;
    if (!no_execute) {
      if (int r = print_item(type, write); r < 0) return r;
      f.line_continues = (scan_pointer > at && scan_pointer[-1] == ';') ? 1 : 0;
    }
  }
  if (!no_execute) {
    if (items == 0) f.line_continues = 0;
    result = print_end_line();
  }
  print_to_string = 0;
  return result;
}

}  // namespace

int stmt_print() { return print_statement(0); }
int stmt_write() { return print_statement(1); }
