// Start-up: command line, settings, then console mode or the desktop window.
#pragma once
#include <string>

// The window branch of start-up, given by the executable (the Qt desktop);
// returns the process exit code.
using window_main_function = int (*)(int argc, char** argv);

int tovarelle_main(int argc, char** argv, window_main_function window_main);

// Limits of the command line: the arguments joined by blanks must stay under
// 512 characters and each argument under 259.
constexpr std::size_t command_line_max_chars = 512;
constexpr std::size_t command_line_arg_max_chars = 259;
constexpr int command_line_max_args = 10;
// 0, or -1 when the arguments break those limits (only the first ten count).
int check_command_line(int argc, char** argv);

// 1 when a program named on the command line runs once the window is up.
extern unsigned autorun_pending;
// Takes a program named on the command line as the source program (pushed
// onto the recent source programs) and sets autorun_pending.
void apply_command_line_program(const std::string& argument);
