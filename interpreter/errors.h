// Error reporting: the message table and report_error.
#pragma once

constexpr int error_message_count = 338;
constexpr int error_code_echo_only = 10000;  // echo the line and caret, no message

extern const char* const error_messages[error_message_count];
extern int error_column;   // column of the failing item from statement_start
extern int error_no_echo;  // 1 while a report must not echo the source line

// Prints the report for code (see errors.cpp) and returns -code (-1 for 0).
int report_error(int code);
// Sets error_column from scan_pointer, then reports.
int report_error_here(int code);
// Reports without echoing the source line.
int report_error_no_echo(int code);
// Reports like report_error, with text in place of the table message (for
// example "... is not available in this build."); returns -code.
int report_error_message(int code, const char* text);
