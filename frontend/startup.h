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
// onto the recent source programs) and sets autorun_pending. A name that
// makes too long a path is refused ("Invalid Path."): the path it would have
// made is kept in command_line_program_refused for the window to show.
void apply_command_line_program(const std::string& argument);
extern std::string command_line_program_refused;

// Set when start-up refuses the command line ("Invalid Parameters (too
// long)"): the window branch then only shows it in a message box titled
// "Error" and the process ends with -1.
extern const char* startup_refusal;
