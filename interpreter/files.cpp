// Numbered files: the OPEN parameters and file_open, CLOSE, RANDOM records
// (GET, PUT), FIELD definitions and the file functions EOF, INPUT, OPEN and
// FILESIZE. Text in and out of a channel is handled by input.cpp and the
// output channels.
#include "interpreter/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>
#include <strings.h>

#include "session/paths.h"
#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/file_table.h"
#include "interpreter/input.h"
#include "interpreter/output_channels.h"
#include "interpreter/pending.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/serial.h"
#include "interpreter/variables.h"
#include "interpreter/memo.h"

char open_mode_word[open_mode_word_size] = {};
std::int32_t open_file_number = 0;
std::string open_file_name;
std::int32_t open_record_length = 0;
std::int32_t open_baud = 9600;
std::int32_t open_parity = 0;
std::int32_t open_stop_bits = 0;
std::int32_t open_result = 0;
std::int32_t open_file_count = 0;
std::int32_t open_file_peak = 0;

field_definition* field_table[max_field_definitions] = {};
int field_count = 0;

namespace {

// Raw copies of the last record each channel's GET read (by channel number).
std::vector<std::string> last_get_copies;

// Error codes of this file.

const char* const mode_words[] = {"input",  "output",       "random",       "append",
                                  "serial", "input binary", "output binary"};

const char* const parity_words[] = {"no", "odd", "even", "mark", "space"};

// A double truncated toward zero into [low, high]; false when it is not finite
// or lies outside (checked before any cast).
bool double_to_int_in(double value, double low, double high, std::int32_t& out) {
  if (!std::isfinite(value)) return false;
  double t = std::trunc(value);
  if (t < low || t > high) return false;
  out = static_cast<std::int32_t>(t);
  return true;
}

bool channel_is_file(int channel) {
  return file_table != nullptr && channel >= 1 && channel <= number_of_files;
}

void free_channel_buffer(file_entry& entry) {
  delete[] entry.line_buffer;
  entry.line_buffer = nullptr;
  entry.line_buffer_size = 0;
  entry.position = nullptr;
}

// Writes exactly length bytes to a descriptor, retrying short writes.
bool write_all(int fd, const char* data, std::size_t length) {
  while (length > 0) {
    ssize_t n = ::write(fd, data, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

// Reads up to length bytes, retrying short reads; the count, or -1 on error.
ssize_t read_up_to(int fd, char* data, std::size_t length) {
  std::size_t total = 0;
  while (total < length) {
    ssize_t n = ::read(fd, data + total, length - total);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    total += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(total);
}

// A folder opens for reading on Linux, but it is no file a program can use.
bool names_folder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Opens the file or port of entry by mode. false when it fails.
bool open_channel_object(file_entry& entry, std::uint32_t mode, const std::string& path) {
  if (mode != FILE_MODE_SERIAL && names_folder(path)) return false;
  switch (mode) {
    case FILE_MODE_INPUT:
    case FILE_MODE_OUTPUT:
    case FILE_MODE_APPEND: {
      // "e": close-on-exec, so that no child started by SPAWN inherits the file.
      const char* how = mode == FILE_MODE_INPUT ? "re" : (mode == FILE_MODE_OUTPUT ? "we" : "a+e");
      entry.stream = std::fopen(path.c_str(), how);
      return entry.stream != nullptr;
    }
    case FILE_MODE_RANDOM:
      entry.descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
      return entry.descriptor >= 0;
    case FILE_MODE_INPUT_BINARY:
      entry.descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      return entry.descriptor >= 0;
    case FILE_MODE_OUTPUT_BINARY:
      // Readable and writable by the owner (0666 before umask), so the file
      // written can be read back.
      entry.descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
      return entry.descriptor >= 0;
    case FILE_MODE_SERIAL:
      entry.mode = FILE_MODE_SERIAL;
      return serial_open(entry, path.c_str()) != 0;
    default:
      return false;
  }
}

// Result of a failed OPEN: the function form sets open_result and reports
// nothing; the statement reports code.
int open_fails(int function_form, int result, int code) {
  open_result = result;
  if (function_form) return result;
  return report_error(code);
}

// Reads the channel argument of EOF, INPUT and FILESIZE: 0..number_of_files
// (125) and open (128).
int file_function_channel(expr_item& argument, int& channel) {
  error_column = static_cast<int>(argument.column);
  if (item_to_double(argument) < 0) return report_error(err_invalid_file_number);
  std::int32_t n = 0;
  if (!double_to_int_in(argument.value.number, 0, number_of_files, n)) return report_error(err_invalid_file_number);
  if (file_table == nullptr || file_table[n].handle == 0) return report_error(err_file_number_does_not_represent);
  channel = n;
  return 0;
}

bool argument_string(const expr_item& argument, std::string& text) {
  if (argument.type != ITEM_STRING) return false;
  text = temp_string_text(static_cast<std::uint32_t>(argument.value.bits));
  return true;
}

int result_double(double value) {
  double_accumulator = value;
  return ITEM_DOUBLE;
}

// The OPEN parameters after the name, shared by the statement and the
// function: a value that could not be read has been reported.
int check_record_length(double value) {
  if (!double_to_int_in(value, 0, max_record_length, open_record_length))
    return report_error(err_invalid_logical_record_length_for);
  return 0;
}
int check_baud(double value) {
  if (!double_to_int_in(value, 0, 256000, open_baud)) return report_error(err_invalid_baud_rate_for_serial);
  return 0;
}
int check_parity_word(std::string_view word) {
  for (int i = 0; i < 5; ++i) {
    if (word.size() == std::strlen(parity_words[i]) && strncasecmp(word.data(), parity_words[i], word.size()) == 0) {
      open_parity = i;
      return 0;
    }
  }
  return report_error(err_invalid_patiry_for_serial_open);
}
int check_stop_bits(double value) {
  if (value == 1.0) open_stop_bits = 0;
  else if (value == 1.5) open_stop_bits = 1;
  else if (value == 2.0) open_stop_bits = 2;
  else return report_error(err_invalid_stop_bits_for_serial);
  return 0;
}

// Copies a mode word into open_mode_word (longer words cannot match any mode
// and are kept cut, which still fails the lookup).
void set_mode_word(std::string_view word) {
  std::size_t n = word.size() < open_mode_word_size - 1 ? word.size() : open_mode_word_size - 1;
  std::memcpy(open_mode_word, word.data(), n);
  open_mode_word[n] = '\0';
  if (word.size() >= open_mode_word_size) open_mode_word[0] = '\0';  // too long: no mode
}

// Evaluates the next expression (ending at "," consumed) as a double; code is
// reported when it is not numeric.
int next_double(double& value, int code) {
  error_column = static_cast<int>(scan_column());
  int type = evaluate_expression_release_temps(2);
  if (type < 0) return type;
  if (type == 0 || result_to_double(type, 0) < 0) return report_error(code);
  value = double_accumulator;
  return 0;
}

}  // namespace

bool statement_ends_here() {
  char c = peek_nonblank();
  if (c == 0 || c == ':') return true;
  return c == '/' && scan_pointer + 1 < line_end && scan_pointer[1] == '/';
}

// ---- OPEN ---------------------------------------------------------------

int file_mode_from_word(std::string_view word) {
  for (int i = 0; i < 7; ++i) {
    if (word.size() == std::strlen(mode_words[i]) && strncasecmp(word.data(), mode_words[i], word.size()) == 0)
      return i;
  }
  return -1;
}

void open_parameters_reset() {
  open_mode_word[0] = '\0';
  open_file_number = 0;
  open_file_name.clear();
  open_record_length = 0;
  open_baud = 9600;
  open_parity = 0;
  open_stop_bits = 0;
  open_result = 0;
}

bool open_file_path(std::string_view text, std::string& path) {
  if (text.size() > static_cast<std::size_t>(max_path_length)) return false;
  path = path_from_program_text(text);
  return true;
}

void recount_open_files() {
  std::int32_t count = 0;
  if (file_table != nullptr)
    for (int i = 1; i <= number_of_files; ++i)
      if (file_table[i].handle != 0) ++count;
  open_file_count = count;
  if (count > open_file_peak) open_file_peak = count;
}

int file_open(int function_form) {
  open_result = 0;
  int mode = file_mode_from_word(open_mode_word);
  if (mode < 0) return open_fails(function_form, -1, err_invalid_mode_for_open);
  if (no_execute) return 0;

  if (!channel_is_file(open_file_number)) return open_fails(function_form, -2, err_invalid_file_number_for_open);
  file_entry& entry = file_table[open_file_number];
  if (entry.handle != 0) return open_fails(function_form, -3, err_file_number_in_use);

  std::int32_t length = open_record_length;
  if (length == 0) {
    if (mode == FILE_MODE_RANDOM) return report_error(err_record_length_required_for_random);
    length = (mode == FILE_MODE_INPUT || mode == FILE_MODE_OUTPUT || mode == FILE_MODE_APPEND)
                 ? text_default_record_length
                 : other_default_record_length;
  }
  if ((mode == FILE_MODE_INPUT_BINARY || mode == FILE_MODE_OUTPUT_BINARY) && length >= binary_record_limit)
    return report_error(err_invalid_record_length_for_binary);

  std::string path;
  if (!open_file_path(open_file_name, path)) return open_fails(function_form, -5, err_invalid_file_specification_for_open);

  const std::uint32_t buffer_size = static_cast<std::uint32_t>(length) + line_buffer_margin;
  char* buffer = new (std::nothrow) char[buffer_size];
  if (buffer == nullptr) return open_fails(function_form, -4, err_could_not_allocate_buffer_for);
  std::memset(buffer, ' ', buffer_size);

  entry.stream = nullptr;
  entry.descriptor = -1;
  if (!open_channel_object(entry, static_cast<std::uint32_t>(mode), path)) {
    delete[] buffer;
    entry.stream = nullptr;
    entry.descriptor = -1;
    entry.mode = FILE_MODE_OUTPUT;
    if (mode == FILE_MODE_INPUT || mode == FILE_MODE_OUTPUT || mode == FILE_MODE_APPEND || mode == FILE_MODE_SERIAL)
      error_column = 0;  // the statement's column
    return open_fails(function_form, -5, err_open_file_failed);
  }

  entry.handle = 1;
  entry.mode = static_cast<std::uint32_t>(mode);
  entry.line_continues = 0;
  entry.width = length;
  entry.tab_target = -1;
  entry.column = 0;
  entry.buffer_length = 0;
  entry.zone_width = default_zone_width;
  entry.line_buffer = buffer;
  entry.line_buffer_size = buffer_size;
  entry.line_buffer[0] = '\0';
  entry.position = entry.line_buffer;
  entry.line_pending = 0;
  entry.last_get_record = 0;
  entry.last_put_record = 0;
  entry.file_size = 0;
  if (mode == FILE_MODE_RANDOM) {
    // The record buffer starts as a blank record.
    std::memset(entry.line_buffer, ' ', static_cast<std::size_t>(length));
    entry.line_buffer[length] = '\0';
  }
  if (mode != FILE_MODE_SERIAL) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) entry.file_size = static_cast<double>(info.st_size);
  }
  recount_open_files();
  return 0;
}

// OPEN mode, number, name [, record length [, baud [, parity [, stop bits]]]]
int stmt_open() {
  open_parameters_reset();
  skip_blanks();
  error_column = static_cast<int>(scan_column());
  expr_item item;
  int type = get_item(item, GI_DATA_VALUE);
  if (type < 0) return type;
  if (type != ITEM_STRING) return report_error(err_invalid_mode_for_open);
  set_mode_word(std::string_view(string_accumulator, static_cast<std::size_t>(string_accumulator_length)));
  if (skip_blanks() == ',') ++scan_pointer;

  double number = 0;
  int result = next_double(number, err_invalid_file_number_for_open);
  if (result < 0) return result;
  open_file_number = 0;
  if (!double_to_int_in(number, -2147483647.0, 2147483647.0, open_file_number)) open_file_number = -1;

  error_column = static_cast<int>(scan_column());
  type = evaluate_expression_release_temps(2);
  if (type < 0) return type;
  if (!no_execute && !prescan_mode) {
    if (type != ITEM_STRING) return report_error(err_invalid_file_specification_for_open);
    open_file_name.assign(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
  }

  // A skipped or pre-scanned OPEN only parses: its values are not there yet.
  const bool executing = !no_execute && !prescan_mode;
  double value = 0;
  if (!statement_ends_here()) {
    if ((result = next_double(value, err_invalid_logical_record_length_for)) < 0) return result;
    if (executing && (result = check_record_length(value)) < 0) return result;
  }
  if (!statement_ends_here()) {
    if ((result = next_double(value, err_invalid_baud_rate_for_serial)) < 0) return result;
    if (executing && (result = check_baud(value)) < 0) return result;
  }
  if (!statement_ends_here()) {
    skip_blanks();
    error_column = static_cast<int>(scan_column());
    type = get_item(item, GI_DATA_VALUE | GI_LIST);
    if (type < 0) return type;
    if (type != ITEM_STRING) {
      report_error(err_invalid_type_expecting_string);
      return report_error(err_invalid_patiry_for_serial_open);
    }
    result = check_parity_word(std::string_view(string_accumulator, static_cast<std::size_t>(string_accumulator_length)));
    if (result < 0) return result;
    if (skip_blanks() == ',') ++scan_pointer;
  }
  if (!statement_ends_here()) {
    if ((result = next_double(value, err_invalid_stop_bits_for_serial)) < 0) return result;
    if (executing && (result = check_stop_bits(value)) < 0) return result;
  }
  error_column = 0;
  return file_open(0);
}

int func_open(expr_item* arguments, int count) {
  if (count < 3 || count > 7) return report_error(err_incorrect_number_parameters);
  open_parameters_reset();
  std::string text;
  error_column = static_cast<int>(arguments[0].column);
  if (!argument_string(arguments[0], text)) {
    report_error(err_invalid_type_expecting_string);
    return report_error(err_invalid_mode_for_open);
  }
  set_mode_word(text);

  error_column = static_cast<int>(arguments[1].column);
  if (item_to_double(arguments[1]) < 0) return report_error(err_invalid_file_number_for_open);
  if (!double_to_int_in(arguments[1].value.number, -2147483647.0, 2147483647.0, open_file_number))
    open_file_number = -1;

  error_column = static_cast<int>(arguments[2].column);
  if (!argument_string(arguments[2], open_file_name)) {
    report_error(err_invalid_type_expecting_string);
    return report_error(err_invalid_file_specification_for_open);
  }
  int result = 0;
  const int numeric_codes[] = {err_invalid_logical_record_length_for, err_invalid_baud_rate_for_serial};
  for (int i = 3; i < count && i < 5; ++i) {
    error_column = static_cast<int>(arguments[i].column);
    if (item_to_double(arguments[i]) < 0) return report_error(numeric_codes[i - 3]);
    result = i == 3 ? check_record_length(arguments[i].value.number) : check_baud(arguments[i].value.number);
    if (result < 0) return result;
  }
  if (count > 5) {
    error_column = static_cast<int>(arguments[5].column);
    if (!argument_string(arguments[5], text)) {
      report_error(err_invalid_type_expecting_string);
      return report_error(err_invalid_patiry_for_serial_open);
    }
    if ((result = check_parity_word(text)) < 0) return result;
  }
  if (count > 6) {
    error_column = static_cast<int>(arguments[6].column);
    if (item_to_double(arguments[6]) < 0) return report_error(err_invalid_stop_bits_for_serial);
    if ((result = check_stop_bits(arguments[6].value.number)) < 0) return result;
  }
  result = file_open(1);
  // Record-length refusals (232, 327) were reported: they end the expression.
  if (result < 0 && open_result == 0) return result;
  return result_double(open_result);
}

// ---- CLOSE --------------------------------------------------------------

int file_close(int n) {
  if (!channel_is_file(n)) return report_error(err_invalid_file_number_for_close);
  file_entry& entry = file_table[n];
  if (entry.handle == 0) return 0;
  int result = 0;
  if ((entry.mode == FILE_MODE_OUTPUT || entry.mode == FILE_MODE_APPEND) && entry.buffer_length > 0) {
    // Text PRINTed with a trailing ";" is still in the line: write it as it is.
    int saved = current_channel;
    current_channel = n;
    result = print_end_line();
    current_channel = saved;
  }
  switch (entry.mode) {
    case FILE_MODE_INPUT:
    case FILE_MODE_OUTPUT:
    case FILE_MODE_APPEND:
      // Text written by PRINT # may still sit in the stream's buffer: a
      // failure to write it out is reported, not lost silently.
      if (entry.stream != nullptr && std::fclose(entry.stream) != 0 && entry.mode != FILE_MODE_INPUT && result >= 0)
        result = report_error_message(err_error_on_input_file, "Error on output file.");
      entry.stream = nullptr;
      break;
    case FILE_MODE_SERIAL:
      serial_close(entry);
      break;
    default:
      if (entry.descriptor >= 0) ::close(entry.descriptor);
      entry.descriptor = -1;
      break;
  }
  if (static_cast<std::size_t>(n) < last_get_copies.size()) last_get_copies[static_cast<std::size_t>(n)].clear();
  entry.handle = 0;
  entry.line_continues = 0;
  entry.column = 0;
  entry.buffer_length = 0;
  entry.tab_target = -1;
  entry.line_pending = 0;
  free_channel_buffer(entry);
  recount_open_files();
  return result < 0 ? result : 0;
}

namespace {

// Closes every open file number, all of them even when one fails; the first
// failure's code (already reported) or 0.
int close_every_file() {
  if (file_table == nullptr) return 0;
  int first_failure = 0;
  for (int n = 1; n <= number_of_files; ++n) {
    if (file_table[n].handle == 0) continue;
    int result = file_close(n);
    if (result < 0 && first_failure == 0) first_failure = result;
  }
  return first_failure;
}

}  // namespace

int file_close_all() {
  // Called when a run ends or variables are cleared: no statement is being
  // executed, so a failure is reported without echoing a source line.
  const int saved_no_echo = error_no_echo;
  error_no_echo = 1;
  int result = close_every_file();
  error_no_echo = saved_no_echo;
  return result;
}

// CLOSE [n {, n}]
int stmt_close() {
  if (statement_ends_here()) {
    // A failure to write out a file's last text ends the statement.
    return no_execute ? 0 : close_every_file();
  }
  while (!statement_ends_here()) {
    double value = 0;
    int result = next_double(value, err_invalid_file_number_for_close);
    if (result < 0) return result;
    if (no_execute) continue;
    std::int32_t n = 0;
    if (!double_to_int_in(value, -2147483647.0, 2147483647.0, n)) return report_error(err_invalid_file_number_for_close);
    if ((result = file_close(n)) < 0) return result;
  }
  return 0;
}

// ---- GET and PUT --------------------------------------------------------

namespace {

// Validates a record number and seeks to it; the record as an int or a
// negative reported code.
int seek_record(file_entry& entry, double record) {
  std::int32_t r = 0;
  if (!double_to_int_in(record, 1, max_record_number, r)) return report_error(err_invalid_record_number);
  off_t offset = static_cast<off_t>(r - 1) * static_cast<off_t>(entry.width);
  if (::lseek(entry.descriptor, offset, SEEK_SET) == static_cast<off_t>(-1)) return report_error(err_random_file_seek_error);
  return r;
}

bool random_channel(int channel) {
  return channel_is_file(channel) && file_table[channel].handle != 0 && file_table[channel].mode == FILE_MODE_RANDOM;
}

// GET and PUT: the channel prefix and the optional record number.
int record_statement(int put) {
  int channel = file_get_number(2, 0);
  if (channel < 0) return channel;
  current_channel = channel;
  char c = skip_blanks();
  if (c == ',' || c == ';') ++scan_pointer;

  double record = 0;
  bool given = false;
  if (!statement_ends_here()) {
    error_column = static_cast<int>(scan_column());
    int type = evaluate_expression_release_temps(0);
    if (type < 0) return type;
    if (type != 0) {
      if (result_to_double(type, 1) < 0) return -err_invalid_record_number;
      record = double_accumulator;
      given = true;
    }
  }
  if (no_execute || prescan_mode) return 0;
  if (!random_channel(channel)) return report_error(err_file_was_opened_with_different);
  const file_entry& entry = file_table[channel];
  if (!given) record = static_cast<double>(put ? entry.last_put_record : entry.last_get_record) + 1.0;
  return put ? random_put_record(channel, record) : random_get_record(channel, record);
}

}  // namespace

int random_get_record(int channel, double record) {
  if (!random_channel(channel)) return report_error(err_file_was_opened_with_different);
  file_entry& entry = file_table[channel];
  int r = seek_record(entry, record);
  if (r < 0) return r;
  const std::size_t length = static_cast<std::size_t>(entry.width);
  ssize_t got = read_up_to(entry.descriptor, entry.line_buffer, length);
  if (got <= 0) return report_error(err_random_file_read_error);
  // A short last record: blank the tail from the bytes actually read, so no
  // byte of the previous record survives.
  std::memset(entry.line_buffer + got, ' ', length - static_cast<std::size_t>(got));
  entry.line_buffer[length] = '\0';
  if (last_get_copies.size() <= static_cast<std::size_t>(channel)) last_get_copies.resize(static_cast<std::size_t>(channel) + 1);
  last_get_copies[static_cast<std::size_t>(channel)].assign(entry.line_buffer, static_cast<std::size_t>(got));
  char* zero = static_cast<char*>(std::memchr(entry.line_buffer, '\0', length));
  if (zero != nullptr) std::memset(zero, ' ', static_cast<std::size_t>(entry.line_buffer + length - zero));
  entry.last_get_record = r;
  entry.position = entry.line_buffer;
  entry.line_pending = 0;
  return 0;
}

std::string_view last_get_record_bytes(int channel) {
  if (channel < 0 || static_cast<std::size_t>(channel) >= last_get_copies.size()) return {};
  return last_get_copies[static_cast<std::size_t>(channel)];
}

int random_put_record(int channel, double record) {
  if (!random_channel(channel)) return report_error(err_file_was_opened_with_different);
  file_entry& entry = file_table[channel];
  if (entry.column > 0) {
    // Text PRINTed into the record since the last PUT: pad it to the length.
    int saved = current_channel;
    current_channel = channel;
    entry.line_continues = 0;
    int result = print_end_line();
    current_channel = saved;
    if (result < 0) return result;
  }
  int r = seek_record(entry, record);
  if (r < 0) return r;
  if (!write_all(entry.descriptor, entry.line_buffer, static_cast<std::size_t>(entry.width)))
    return report_error(err_random_file_write_error);
  entry.last_put_record = r;
  return 0;
}

int stmt_get() { return record_statement(0); }
int stmt_put() { return record_statement(1); }

// ---- FIELD --------------------------------------------------------------

const char* field_entry_name(const field_definition& definition, const field_entry& entry) {
  if (entry.name_position >= field_names_size) return "";
  return definition.names + entry.name_position;
}

const char* field_string_variable_name(const field_definition& definition) {
  return definition.file_number == -1 ? definition.names : "";
}

bool find_field_variable(std::string_view name, field_definition** definition, int* entry_index) {
  for (int d = 0; d < field_count; ++d) {
    field_definition* def = field_table[d];
    if (def == nullptr) continue;
    for (std::uint32_t e = 0; e < def->entry_count; ++e) {
      const char* entry_name = field_entry_name(*def, def->entries[e]);
      if (std::strlen(entry_name) == name.size() && strncasecmp(entry_name, name.data(), name.size()) == 0) {
        if (definition) *definition = def;
        if (entry_index) *entry_index = static_cast<int>(e);
        return true;
      }
    }
  }
  return false;
}

void free_field_table() {
  for (auto& definition : field_table) {
    delete definition;
    definition = nullptr;
  }
  field_count = 0;
  memo_changed();
}

namespace {

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A name at the scan pointer (letter, then letters, digits, "_" and "$").
// Returns its length (0 for none) or -84 when longer than 60 characters.
int scan_field_name(std::string& name) {
  name.clear();
  skip_blanks();
  if (scan_pointer >= line_end || !is_letter(*scan_pointer)) return 0;
  const char* p = scan_pointer;
  while (p < line_end && (is_letter(*p) || is_digit(*p) || *p == '_' || *p == '$')) ++p;
  if (p - scan_pointer > max_name_length) return report_error_here(err_name_may_not_longer_than);
  name.assign(scan_pointer, static_cast<std::size_t>(p - scan_pointer));
  scan_pointer = p;
  return static_cast<int>(name.size());
}

// A number literal of digits (a fraction is dropped); false when none.
bool scan_field_number(double& value) {
  skip_blanks();
  const char* p = scan_pointer;
  value = 0;
  bool any = false;
  while (p < line_end && is_digit(*p)) {
    if (value < 1e9) value = value * 10 + (*p - '0');
    ++p;
    any = true;
  }
  if (!any) return false;
  if (p < line_end && *p == '.') {
    ++p;
    while (p < line_end && is_digit(*p)) ++p;
  }
  scan_pointer = p;
  return true;
}

bool name_ends_in_dollar(const std::string& name) { return !name.empty() && name.back() == '$'; }

// Adds a NUL-terminated name to the definition's name area.
bool store_field_name(field_definition& def, const std::string& name, std::uint32_t& position) {
  if (def.names_position + name.size() + 1 > field_names_size) return false;
  position = def.names_position;
  std::memcpy(def.names + position, name.c_str(), name.size() + 1);
  def.names_position += static_cast<std::uint32_t>(name.size() + 1);
  return true;
}

// The FIELD statement's body over a fresh definition.
int parse_field(field_definition& def) {
  std::string name;
  const char* start = scan_pointer;
  int length = scan_field_name(name);
  if (length < 0) return length;
  if (length >= 2 && name_ends_in_dollar(name)) {
    char c = skip_blanks();
    if (c != ',' && c != ';') return report_error_here(err_missing_comma);
    ++scan_pointer;
    def.file_number = -1;
    std::uint32_t position = 0;
    store_field_name(def, name, position);
  } else {
    scan_pointer = start;
    if (skip_blanks() == '#') ++scan_pointer;
    double number = 0;
    error_column = static_cast<int>(scan_column());
    if (!scan_field_number(number)) return report_error(err_invalid_file_number);
    std::int32_t n = 0;
    if (!double_to_int_in(number, 1, number_of_files, n)) return report_error(err_file_number_1_and_number);
    def.file_number = n;
    char c = skip_blanks();
    if (c != ',' && c != ';') return report_error_here(err_file_number_followed_by_semicolon);
    ++scan_pointer;
  }

  std::uint32_t offset = 0;
  for (int field = 0; field < max_field_entries; ++field) {
    if (statement_ends_here()) break;
    double width = 0;
    error_column = static_cast<int>(scan_column());
    if (!scan_field_number(width)) return report_error(err_invalid_type_expecting_number);
    if (width < 1 || width > 255) return report_error(err_invalid_field_width);
    offset += static_cast<std::uint32_t>(width);
    if (def.file_number == -1 && offset >= 256) return report_error(err_field_extends_beyond_maximum_string);

    skip_blanks();
    error_column = static_cast<int>(scan_column());
    if (line_end - scan_pointer < 2 || strncasecmp(scan_pointer, "as", 2) != 0) return report_error(err_expecting_as);
    scan_pointer += 2;
    if (scan_pointer >= line_end || (*scan_pointer != ' ' && *scan_pointer != '\t')) return report_error_here(err_expecting_space_or_tab);
    error_column = static_cast<int>(scan_column());
    int name_length = scan_field_name(name);
    if (name_length < 0) return name_length;
    if (name_length == 0) return report_error(err_missing_string_variable_name);
    if (strcasecmp(name.c_str(), "space$") != 0) {
      if (prescan_mode) {
        int index = find_variable(name);
        if (index >= 0) return report_error(variable_table[index].type == ITEM_STRING ? 178 : 41);
        if (find_field_variable(name, nullptr, nullptr)) return report_error(err_variable_already_defined);
        for (std::uint32_t e = 0; e < def.entry_count; ++e)
          if (strcasecmp(field_entry_name(def, def.entries[e]), name.c_str()) == 0) return report_error(err_variable_already_defined);
      }
      if (!name_ends_in_dollar(name)) return report_error(err_string_variable);
      field_entry& entry = def.entries[def.entry_count];
      if (!store_field_name(def, name, entry.name_position)) return report_error(err_unable_to_allocate_storage_for_238);
      entry.type = ITEM_FIELD;
      entry.start = offset - static_cast<std::uint32_t>(width);
      entry.width = static_cast<std::uint32_t>(width);
      ++def.entry_count;
      def.entries_position = def.entry_count;
    }
    // A "," continues the list; after the tenth field it is left to the
    // statement loop.
    if (field + 1 < max_field_entries && skip_blanks() == ',') {
      ++scan_pointer;
      continue;
    }
    break;
  }
  return 0;
}

}  // namespace

// FIELD #n, w AS name$ [, w AS name$ ...]  or  FIELD s$, w AS name$ ...
int stmt_field() {
  // Refused in a line typed into the command box, not in the program lines
  // that line reaches by GOTO or GOSUB.
  if (command_line_mode && statement_is_typed()) return report_error(err_statement_not_valid_from_command);
  field_definition* def = new (std::nothrow) field_definition{};
  if (def == nullptr) return report_error(err_unable_to_allocate_storage_for_238);
  def->string_slot = nullptr;
  int result = parse_field(*def);
  if (result < 0 || !prescan_mode) {
    delete def;
    return result < 0 ? result : 0;
  }
  if (field_count >= max_field_definitions) {
    delete def;
    return report_error(err_too_many_field_statements);
  }
  field_table[field_count++] = def;
  memo_changed();
  return 0;
}

// ---- file functions -----------------------------------------------------

int func_eof(expr_item* arguments, int count) {
  if (count < 1 || count > 2) return report_error(err_incorrect_number_parameters);
  int line_flag = 0;
  if (count == 2) {
    std::string text;
    error_column = static_cast<int>(arguments[1].column);
    if (!argument_string(arguments[1], text)) return report_error(err_invalid_type_expecting_string);
    if (strcasecmp(text.c_str(), "line") != 0) return report_error(err_invalid_parameter);
    line_flag = 1;
  }
  int channel = 0;
  int result = file_function_channel(arguments[0], channel);
  if (result < 0) return result;
  std::uint32_t mode = file_table[channel].mode;
  if (mode != FILE_MODE_INPUT && mode != FILE_MODE_RANDOM && mode != FILE_MODE_INPUT_BINARY)
    return report_error(err_file_not_open_for_input);
  int saved = current_channel;
  current_channel = channel;
  result = file_input(line_flag, 1);
  current_channel = saved;
  if (result < 0) return result;
  return result_double(input_value_kind == 0 ? -1.0 : 0.0);
}

int func_input(expr_item* arguments, int count) {
  if (count != 1) return report_error(err_incorrect_number_parameters);
  int channel = 0;
  int result = file_function_channel(arguments[0], channel);
  if (result < 0) return result;
  file_entry& entry = file_table[channel];
  if (entry.mode == FILE_MODE_SERIAL) {
    serial_eof_probe = 1;
    result = serial_read_line(entry);
    serial_eof_probe = 0;
    if (result < 0) return result;
    return result_double(result);
  }
  if (entry.mode != FILE_MODE_INPUT) return report_error(err_file_not_open_for_input);
  int saved = current_channel;
  current_channel = channel;
  result = file_input(0, 1);
  current_channel = saved;
  if (result < 0) return result;
  switch (input_value_kind) {
    case ITEM_STRING: return result_double(1);
    case ITEM_NUMERIC_TEXT: return result_double(2);
    case ITEM_NUMBER_WITH_TEXT: return result_double(3);
    default: return result_double(0);
  }
}

int func_filesize(expr_item* arguments, int count) {
  if (count != 1) return report_error(err_incorrect_number_parameters);
  int channel = 0;
  int result = file_function_channel(arguments[0], channel);
  if (result < 0) return result;
  return result_double(file_table[channel].file_size);
}
