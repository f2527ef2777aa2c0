// Statements that reach the desktop: BEEP, CLS, COLOR, HELP, CHDIR, DELAY and
// SPAWN. Each only parses in skip mode and in the pre-scan.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "interpreter/statements.h"  // stmt_beep, stmt_cls, stmt_color, stmt_help, stmt_chdir, stmt_delay, stmt_spawn

// Sets the console text attribute (low four bits the text colour, the next
// four the background; bit 0 blue, 1 green, 2 red, 3 bright); -1 restores the
// terminal's default colours. Only a terminal sees anything.
void console_set_color(std::int32_t attribute);
// The ANSI escape sequence console_set_color writes for an attribute.
std::string console_color_sequence(std::int32_t attribute);

// 0 when double_accumulator lies in low..high (both inclusive), else error 297
// (a NaN is outside).
int check_param_range(double low, double high);

// Help topics 1..15: titles, and the document of each (a PDF in
// interpreter_folder). The Help dialog offers the same documents.
constexpr int help_topic_count = 15;
extern const char* const help_topic_titles[help_topic_count];
std::string help_topic_document(int topic);

// Splits a SPAWN parameter text into arguments at blanks; a part in double
// quotes is one argument and may hold blanks (the quotes are dropped).
std::vector<std::string> split_spawn_parameters(const std::string& text);
