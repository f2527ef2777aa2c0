// Console I/O for console mode: the process's standard input and output.
#pragma once
#include <csignal>
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

// Faults that end console mode: Ctrl+C, and a write to standard output that
// failed (a closed pipe, a full disk, a closed descriptor).
enum class console_fault { interrupt, output_failed };
// Installs the console's fault handling: SIGPIPE is ignored (a closed pipe
// becomes a failed write), and SIGINT only notes the interrupt (unless the
// process started with it ignored, which stays so); the reads of
// this file and the interpreter's safe points (console_check_interrupt) then
// call `handler`, which ends the process. A failed write calls it too.
void console_catch_faults(void (*handler)(console_fault));
// Set by the SIGINT handler; read through the two functions below.
extern volatile std::sig_atomic_t console_interrupt_flag;
void console_hand_over_interrupt();
// True once Ctrl+C was pressed.
inline bool console_interrupted() { return console_interrupt_flag != 0; }
// At a safe point (between statements, in long computations, in console
// reads): hands a pending Ctrl+C to the fault handler. One load when none is.
inline void console_check_interrupt() {
  if (console_interrupt_flag != 0) console_hand_over_interrupt();
}
// True once a write to standard output failed; later writes are dropped.
bool console_output_failed();
// The errno of the failed write.
int console_output_error();

// True when standard output is a terminal (colours and clearing only then).
bool console_output_is_terminal();
bool console_input_is_terminal();
