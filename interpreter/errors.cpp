// report_error: the one road for every failure. Echoes the current line with a
// caret under the failing item and prints the message, always on the screen.
#include "interpreter/errors.h"

#include <cstdio>
#include <string>

#include "interpreter/output.h"
#include "interpreter/run_state.h"

int error_column = 0;
int error_no_echo = 0;
unsigned long error_reports = 0;

namespace {

constexpr int echo_max_chars = 256;   // longest line text echoed
constexpr int caret_max_chars = 255;  // longest line text the caret may stand under

// Length of the current line's text, bounded by line_length (when known) and
// the echo limit, stopping at its line end or terminator.
int current_line_text_length() {
  int bound = echo_max_chars;
  if (line_length > 0 && line_length < bound) bound = line_length;
  int n = 0;
  while (n < bound) {
    char c = line_start[n];
    if (c == '\0' || c == '\r' || c == '\n') break;
    ++n;
  }
  return n;
}

// The line text and, under it, blanks (tabs where the line has tabs) up to the
// first visible character at or after the error column, then "*".
void echo_line_with_caret() {
  int text_length = current_line_text_length();
  std::string echo;
  if (!step_mode && !trace_mode) echo += '\n';
  echo.append(line_start, static_cast<std::size_t>(text_length));
  echo += '\n';

  long n = text_length < caret_max_chars ? text_length : caret_max_chars;
  long column = static_cast<long>(statement_start ? statement_start - line_start : 0) + error_column;
  if (column < 0 || column > n) column = n;
  while (column < n && (line_start[column] == ' ' || line_start[column] == '\t')) ++column;
  for (long i = 0; i < column; ++i) echo += line_start[i] == '\t' ? '\t' : ' ';
  echo += "*\n";
  print_text(echo);
}

// The shared body of every reporter: message is the text to show (null for
// the echo-only code 10000).
int report_with_text(int code, const char* message) {
  int saved_channel = current_channel;
  current_channel = 0;  // the report always goes to the screen
  int result = code > 0 ? -code : -1;

  bool quiet = code == 0 || (code != error_code_echo_only && message && message[0] == '-');
  if (quiet && !debug_mode) {
    current_channel = saved_channel;
    return result;
  }
  ++error_reports;
  if (!error_no_echo && line_start) echo_line_with_caret();
  if (code != error_code_echo_only) {
    std::string line = "ERROR - ";
    line += (message[0] == '-') ? message + 1 : message;
    line += '\n';
    print_text(line);
  }
  current_channel = saved_channel;
  return result;
}

}  // namespace

int report_error(int code) {
  if (code == error_code_echo_only) return report_with_text(code, nullptr);
  if (code < 0 || code >= error_message_count) {
    // Not a code of the table: say so rather than read outside it.
    char text[64];
    std::snprintf(text, sizeof text, "Unknown error code %d.", code);
    return report_with_text(code, text);
  }
  return report_with_text(code, error_messages[code]);
}

int report_error_here(int code) {
  return report_error_at((scan_pointer && statement_start) ? static_cast<int>(scan_pointer - statement_start) : 0,
                         code);
}

int report_error_at(int column, int code) {
  error_column = column;
  return report_error(code);
}

int report_error_no_echo(int code) {
  error_no_echo = 1;
  int result = report_error(code);
  error_no_echo = 0;
  return result;
}

int report_error_message(int code, const char* text) {
  if (code == error_code_echo_only) return report_with_text(code, nullptr);
  return report_with_text(code, text ? text : "");
}
