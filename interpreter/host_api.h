// The way in for a front-end: every host (console mode, the desktop's run
// host, test fixtures) drives the interpreter through these calls and never
// writes the scanner's or the run's globals itself.
#pragma once
#include <string>
#include <string_view>

// Fills the keyword tables and allocates the fixed stores. Returns 0, or a
// negative code after "Initialization Error." was reported.
int host_init();

// Runs one line as typed into the command box: a command (list, run, load,
// ...) at once, statement text through the typed-line road. A line of more
// than 255 bytes is refused with error 24. Returns the result of the road
// (negative after a reported failure).
int host_run_typed_line(std::string_view line);

// Runs the program in file path (loaded, pre-scanned, run, following CHAIN).
// step: start in stepping mode (Run/Step). Returns 0 or a negative code.
int host_run_program_file(const std::string& path, bool step);

// Requests from the window while a run executes or waits.
void host_request_kill();   // ends the run with "User interrupted program"
void host_request_step();   // Run/Step or Step: one statement, then wait
void host_request_continue();  // Continue: leave stepping, run on
// The reply to a waiting INPUT or LINE INPUT (without its line end).
// Returns false when no INPUT is waiting.
bool host_give_input_reply(std::string_view reply);
// A key typed while INKEY$ waits (character code, 0 for a key without one).
// Returns false when no key wait is active.
bool host_give_key(unsigned char key);

// Window mode's typed-line road: a pending Kill is dropped, the run counts
// as busy while the line runs (host_is_busy), then host_run_typed_line.
int host_run_command_line(std::string_view line);
// A line typed while a run pauses for stepping: it runs before the next
// statement and the pause goes on. Returns false when no run is pausing.
bool host_queue_stepping_command(std::string_view line);
// The run banner: text as one PRINT item on the screen channel, line ended.
void host_print_banner(std::string_view text);
// Reports error code (no source line shown) and returns its negated code:
// for front-end failures that belong in the output box (the editor).
// text, when given, stands for the table's message (the code stays).
int host_report_error(int code, const std::string& text = {});
// Clear Screen and CLS: the screen channel's line and column start afresh.
void host_reset_screen_channel();

bool host_is_busy();          // a run or typed line is executing
bool host_input_waiting();    // INPUT waits for its reply
bool host_stepping();         // the statement loop waits for Step or Continue
bool host_key_waiting();      // INKEY$ waits for a key
bool host_computing();        // a long computation is pumping events

// Puts the interpreter back to its state after host_init: no program, no
// variables, no open files, every flag cleared. For a new run host and for
// test fixtures.
void interpreter_reset();
