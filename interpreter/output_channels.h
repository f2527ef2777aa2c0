// PRINT and WRITE: the output channels, the channel prefix, placing items in
// a line and ending lines. Screen text itself goes through print_text (output.h).
#pragma once
#include <cstdint>
#include <string_view>

#include "interpreter/output.h"

constexpr std::uint32_t print_format_size = 256;

extern char print_format[print_format_size];  // number format of the statement in effect
extern int write_mode;              // the statement is WRITE
extern int tab_allowed;             // a TAB item is being evaluated
extern int print_using_active;      // a USING format is in effect
extern int print_to_string;         // the statement prints to a string variable
extern void* print_string_target;   // value slot of that variable
extern int print_string_assigned;   // the target already took part of an overflowing line
extern int print_format_is_default; // load_printformat fell back to the default
extern std::int32_t output_column;  // column of the screen line (reset at run start)

// INPUT with a "%" source: the string the values come from (set by the
// channel prefix of INPUT, read by the INPUT statement).
constexpr std::uint32_t input_source_size = 256;
extern char input_source_string[input_source_size];
extern int input_source_is_string;

// print_text of "%s\n" built in a bounded buffer; and of one formatted argument.
void print_format_line(const char* format, const char* argument);

// Writes text to a channel: 0 the screen; 1..number_of_files an open text file
// of mode output or append. Returns 0, -1 on a failed write (no message), or a
// negative reported code (125, 127, 129).
int write_channel_text(std::string_view text);

// Reads the optional channel prefix ("#n" or "%target") at the scan pointer.
// kind 0 INPUT, 1 PRINT/WRITE, 2 GET/PUT; line_input 1 for LINE INPUT.
// Returns 0 (screen or keyboard), a channel number, or a negative code.
int file_get_number(int kind, int line_input);

void load_printformat();
void load_printtabs();

// Places one evaluated item into the current channel's line. type is the
// result type (2, 3, 14, 16, 13, or 5 for a TAB item); write_flag 1 for WRITE.
int print_item(int type, int write_flag);
// Ends or flushes the current channel's line by its line_continues flag.
int print_end_line();
// PRINT # of one string to an output-binary file.
int file_print_binary();

// Prints text as one PRINT item on the screen channel and ends the line (the
// run banners and load messages go this way).
int print_screen_item_line(std::string_view text);
