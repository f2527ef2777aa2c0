// Console I/O for console mode: the process's standard input and output.
#pragma once
#include <cstddef>
#include <string_view>

// Reads one line (up to and including its LF) into buf, at most cap-1 bytes,
// NUL-terminated; count receives the bytes read. Returns false at end of input
// or on a read error (nothing was read).
bool console_read_line(char* buf, std::size_t cap, std::size_t& count);

// Writes text to standard output; a CR directly before an LF is dropped so
// that terminal output has plain LF line ends. Flushes when text ends a line.
void console_write(std::string_view text);
void console_flush();

// True when standard output is a terminal (colours and clearing only then).
bool console_output_is_terminal();
bool console_input_is_terminal();
