// Run control: starting a run, the line and statement loop with its stepping,
// trace and Kill hooks, and the road of a typed command line.
#pragma once
#include <cstddef>
#include <cstdint>

#include "interpreter/control_flow.h"

// Statement number a GOTO asked for (0 none); the line loop jumps there.
extern std::uint32_t goto_target;

// Stepping and interrupt flags shared with the front-end.
extern int step_requested;
// 1 when Run/Step may have been disabled since the statement loop last
// enabled it: only a step request disables it (the button pressed during a
// computation or a key wait), so the loop re-enables it after a statement
// only then, not after every statement.
extern int run_step_needs_enable;
extern int step_banner_pending;
extern int immediate_command_pending;
extern int input_waiting;
extern int command_typed;
// 1 while a line typed in a stepping pause runs: the paused run's text and
// variables stay under it, so RUN and LOAD are refused then.
extern int command_in_pause;
extern int program_running;
extern int messagebox_active;

// Run mode and load state.
enum run_modes : int { RUN_MODE_RUN = 1, RUN_MODE_LOAD_ONLY = 4 };
extern int run_mode;
extern int program_already_loaded;
extern int program_load_failed;

// The line typed while stepping (run by run_immediate_while_stepping).
extern char command_line[256];

// Deepest nesting of FOR, WHILE and GOSUB bodies; deeper nesting ends the run
// with an error instead of exhausting the stack.
constexpr int max_body_nesting = 1000;
extern int body_nesting;

// FOR statements whose passes are running (their control slots and limits
// are in use); CLEAR is refused while any is.
extern int for_loops_running;

union value_slot;
// Whether an array's element block (value_slot array) still belongs to an
// array: ERASE and CLEAR free element blocks, so a statement that keeps an
// element's slot across nested statements (FOR, PRINT to a string) checks it
// before writing.
bool array_block_alive(const value_slot* data);

// Reads one console line into buffer (size bytes, at least 2) without its
// LF or CR LF. A line longer than size - 1 bytes is read to its end and
// dropped: too_long is set and the buffer emptied, so its tail can never run
// as a line of its own. Returns false at end of input.
bool read_console_command(char* buffer, std::size_t size, std::size_t& count, bool& too_long);

// The Run driver: loads (unless program_already_loaded), pre-scans and runs
// source_file_path, following CHAIN. Returns 0 or a negative code.
int run_program();
// One run of the pre-scanned program; the line loop's result.
int run_loaded_program();
void reset_run_flags();
// Runs lines from program_offset until the text ends; the last line's result
// or a negative code.
int run_program_lines();
// Copies the line at program_offset into buffer (at least 256 bytes) without
// its line end. Returns 0 or the negative code of error 24.
int fetch_program_line(std::uint32_t& length, char* buffer, std::uint32_t& next, std::uint32_t& start);
int process_statement_line();
int process_statements();
// One statement: 0, 1 (the statement took the rest of the line) or negative.
int process_statement();
// Runs one line of text given by the caller; failure is the quiet error 6.
int execute_statement_text(const char* text);
// First step for a typed line at line_start..line_end: 1 when the line is to
// run as program text, 0 when it was a command that has run, or negative.
int classify_command_line();
// The typed-line road for statement text at line_start..line_end: appends
// "\r\nend\r\n", the line and "\r\n" to the program, runs it, cuts it off.
// Returns the run's result, or 0 after "Insufficient program file buffer space."
int run_typed_line();
// Offset of the typed line in the program buffer while run_typed_line runs
// it, else no_typed_line.
constexpr std::uint32_t no_typed_line = 0xFFFFFFFFu;
extern std::uint32_t typed_line_offset;
// True when the statement being executed stands on the typed line (not in the
// program text a typed GOSUB or GOTO reached).
bool statement_is_typed();
// A line typed while stepping (in command_line), with the interrupted
// statement's parse state kept.
int run_immediate_while_stepping();
