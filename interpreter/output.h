// The one road to the screen, and its line helpers.
#pragma once
#include <string_view>

// Puts text on the screen unchanged: the console in console mode, the output
// box (through the front-end port) in window mode.
void print_text(std::string_view text);
// print_text of the text and "\n".
void print_line(std::string_view text);
// CLS in window mode: empties the output box through the front-end port.
// 0, or -1 when the window has no output buffer.
int output_buffer_clear();
