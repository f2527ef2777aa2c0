// The scan position and run flags that every part of the interpreter shares.
#pragma once
#include <cstddef>
#include <cstdint>

struct long_number;

// Scan state of the current line.
extern const char* line_start;       // text of the current line; null before any line was scanned
extern const char* line_end;
extern std::int32_t line_length;
extern const char* scan_pointer;
extern const char* statement_start;
// Where the current line's text came from: 1 + its offset in the program text
// while it is a copy of the pre-scanned program (memo.h), or 1 + its offset
// among the function bodies (body_text_base up) while it is a body defined
// there, with the memo epoch of that copy; 0 for any other text (a typed
// line, a DATA copy). Saved and restored with the line.
extern std::uint32_t line_text_origin;
extern std::uint32_t line_text_epoch;

// Accumulators: results of get_item, evaluate_expression and do_function.
constexpr std::size_t string_accumulator_size = 1024;  // strings are capped at 255; room for formatting
extern double double_accumulator;
extern char string_accumulator[string_accumulator_size];
extern std::int32_t string_accumulator_length;
extern long_number* long_accumulator;  // owned by the long-number kernels (rizozira/long_number.h)

// Modes and flags.
extern std::uint32_t console_mode;  // 1 in console mode, set once at start-up
extern int debug_mode;
extern int step_mode;
extern int trace_mode;
extern int no_execute;
extern int prescan_mode;  // the pre-scan pass is running (always with no_execute)
extern int program_ended;
extern int kill_requested;
extern int command_line_mode;
extern int computing_busy;
extern int long_all_mode;  // LONG ALL: every number and new variable is a long number

// PRINT channel in use (0 the screen).
extern int current_channel;

// The line part of the scan state (scan_state.h): taken when constructed
// and put back on request, the line alone (the scan position stays where the
// statement left it) or the line and the scan position.
struct scan_line {
  const char* start = line_start;
  const char* end = line_end;
  const char* scan = scan_pointer;
  const char* statement = statement_start;
  std::int32_t length = line_length;
  std::uint32_t origin = line_text_origin;
  std::uint32_t origin_epoch = line_text_epoch;
  void restore_line() const {
    line_start = start;
    line_end = end;
    line_length = length;
    statement_start = statement;
    line_text_origin = origin;
    line_text_epoch = origin_epoch;
  }
  void restore() const {
    restore_line();
    scan_pointer = scan;
  }
};

// Points the scan state at [text, text_end): the text stands in for the line
// and the statement, so that error reports point into it.
inline void point_scan_at(const char* text, const char* text_end) {
  scan_pointer = statement_start = line_start = text;
  line_end = text_end;
  line_text_origin = 0;
  line_length = static_cast<std::int32_t>(text_end - text);
}

// A scan over a text of its own (a function body, a DATA copy, VAL's
// argument) that puts the statement's scan state back when it ends.
class scan_text_guard {
 public:
  scan_text_guard(const char* text, const char* text_end) { point_scan_at(text, text_end); }
  ~scan_text_guard() { saved_.restore(); }
  scan_text_guard(const scan_text_guard&) = delete;
  scan_text_guard& operator=(const scan_text_guard&) = delete;

 private:
  scan_line saved_;
};
