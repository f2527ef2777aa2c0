// A scan over a text of its own (a function body, a DATA copy, VAL's
// argument) that puts the statement's scan state back when it ends.
#pragma once
#include <cstdint>

#include "interpreter/run_state.h"

class scan_text_guard {
 public:
  // Scans [text, text_end): the text stands in for the line and the
  // statement, so that error reports point into it.
  scan_text_guard(char* text, char* text_end)
      : scan_(scan_pointer), end_(line_end), statement_(statement_start), line_(line_start),
        length_(line_length) {
    scan_pointer = statement_start = line_start = text;
    line_end = text_end;
    line_length = static_cast<std::int32_t>(text_end - text);
  }
  ~scan_text_guard() {
    scan_pointer = scan_;
    line_end = end_;
    statement_start = statement_;
    line_start = line_;
    line_length = length_;
  }
  scan_text_guard(const scan_text_guard&) = delete;
  scan_text_guard& operator=(const scan_text_guard&) = delete;

 private:
  char* scan_;
  char* end_;
  char* statement_;
  char* line_;
  std::int32_t length_;
};
