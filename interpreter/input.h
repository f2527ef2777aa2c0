// INPUT and LINE INPUT from the keyboard, a string or a file; the shared
// value matcher assign_input_items (also behind READ and the input dialog);
// long-number records in data files; the probes behind EOF and INPUT(n).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "interpreter/output_channels.h"  // input_source_string, input_source_is_string

struct array_entry;

constexpr std::size_t input_line_size = 256;

extern char input_line[input_line_size];  // the reply typed for INPUT
extern int input_ready;                   // the window set input_line (window mode)
// item_type of the value found by a probe: 0 none, 3 string, 16 number,
// 22 number followed by text.
extern int input_value_kind;
// Set by assign_input_items when its failure lies in the variable list (not a
// variable, a parameter, a bad subscript) rather than in the values.
extern bool input_list_failed;

// assign_input_items modes.
enum input_mode : int {
  INPUT_MODE_KEYBOARD = 1,
  INPUT_MODE_READ = 2,
  INPUT_MODE_FILE = 3,    // a file, serial port or string
  INPUT_MODE_DIALOG = 4,  // conversion errors are not reported
};

// Longest text a long-number record may announce: the longest long number
// written as text (digits at the largest precision, sign, point, exponent).
constexpr std::uint32_t max_long_record_length = 1000000 + 16;

// Fills input_line from the keyboard: the console in console mode, the
// command box (through the front-end port's pump) in window mode. Returns 0;
// a negative reported code when the console input has ended (no reply can
// ever come) or the wait was killed.
int read_input_line();

// A Step request that arrived during a reply or key wait switches stepping
// on (the request is taken unless in skip mode).
void take_step_request_while_waiting();

// Reads values from text at *position and assigns them in order to the
// variables listed at the scan pointer. value_flags 1 lets a number followed
// by text be a value (22), 2 makes unquoted words end at a blank or "=".
// Returns 0 (every variable got a value), 1 (values ran out while a variable
// waits; with value flags also: the text is used up), 2 (values left over,
// or with an empty list a value exists: its type in input_value_kind), or a
// negative code. *position is left behind the last value assigned.
int assign_input_items(const char* text_start, const char** position, int value_flags, int mode);

// INPUT %source; variables at the scan pointer.
int input_from_string();
// INPUT # / LINE INPUT # from current_channel; probe 1 only looks ahead
// (EOF, INPUT functions; input_value_kind answers). 0 or negative.
int file_input(int line_flag, int probe_flag);

// Long-number records: the header just read is in string_accumulator; the
// pieces follow on the next lines of current_channel's file. *text receives a
// std::malloc'd buffer the caller frees with std::free.
// file_input_long_number converts into long_accumulator and returns 14;
// file_input_long_text spreads the text over a whole string array.
int file_input_long_number(char** text);
int file_input_long_text(array_entry* target, char** text);

// Parses a record header "Length=N" (word in any case, N decimal digits, no
// sign, 1..max_long_record_length). 0 with N, or the error code to report:
// 183 when the word is missing, 184 for a missing or out-of-range N.
int parse_long_record_header(std::string_view header, std::uint32_t& length);

// Raw bytes of an input-binary file as text: zero byte "\0", LF "\n",
// CR "\r", backslash "\\".
std::string binary_input_text(const char* bytes, std::size_t count);

// Statement handlers (also declared in statements.h).
int stmt_input();
int stmt_line_input();
