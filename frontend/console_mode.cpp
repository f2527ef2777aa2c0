// Console mode: reads command lines from standard input and runs each like a
// line typed into the command box, until an empty line or end of input.
#include "frontend/console_mode.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "session/paths.h"
#include "interpreter/files.h"
#include "interpreter/host_api.h"
#include "interpreter/program_buffer.h"
#include "interpreter/output.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "platform/console.h"

namespace {
constexpr std::size_t console_line_size = 256;  // 255 bytes and the terminating zero
char console_line[console_line_size];

constexpr int exit_after_interrupt = 130;    // as a shell reports a Ctrl+C
constexpr int exit_after_output_failure = 1;

// Ends console mode on Ctrl+C or a failed standard output, as after a fatal
// error: every open file is written out and closed (completed writes are
// kept), the terminal's colours are reset, the reason goes to standard error
// and the process exits non-zero. Called only from safe points, never from
// the signal handler. A fault raised while closing (a close that reports on
// a failed console) returns to the closing already under way.
void end_on_console_fault(console_fault fault) {
  static bool ending = false;
  if (ending) return;
  ending = true;
  file_close_all();
  if (!console_output_failed() && console_output_is_terminal()) console_write("\x1b[0m");
  console_flush();
  if (fault == console_fault::interrupt) {
    std::fputs("\nInterrupted: open files were written and closed.\n", stderr);
  } else {
    std::fprintf(stderr, "Standard output failed (%s): the run was ended and open files were closed.\n",
                 std::strerror(console_output_error()));
  }
  std::fflush(nullptr);
  std::_Exit(fault == console_fault::interrupt ? exit_after_interrupt : exit_after_output_failure);
}
}  // namespace

int console_command_loop() {
  int ready = host_init();
  if (ready < 0) return ready;
  for (;;) {
    reset_run_flags();
    console_line[0] = 0;
    std::size_t count = 0;
    bool too_long = false;
    // Enter on a terminal gives LF (a console gives CR LF): both end the line.
    if (!read_console_command(console_line, console_line_size, count, too_long)) return 0;
    if (too_long) {
      // The reader dropped the line; the host refuses it as too long.
      static const std::string overlong(console_line_size, ' ');
      host_run_typed_line(overlong);
      continue;
    }
    if (count == 0) return 0;
    if (debug_mode) {
      std::string echo = "\nCommand Line:     ";
      echo += console_line;
      echo += "\n\n";
      print_text(echo);
    }
    host_run_typed_line(std::string_view(console_line, count));
  }
}

int console_mode_run() {
  console_command_loop();
  return 0;
}

int console_sequence() {
  console_mode = 1;
  console_catch_faults(end_on_console_fault);
  if (startup_folder.empty()) startup_folder = path_current_directory();
  source_file_path.clear();
  program_folder = interpreter_folder;
  path_trim_trailing(program_folder);  // folders are kept without a closing "/"
  working_folder = startup_folder;
  console_mode_run();
  print_text("Press <enter> to terminate program.\n");
  char answer[11];
  std::size_t count = 0;
  console_read_line(answer, sizeof answer, count);
  console_flush();
  if (!startup_folder.empty() && chdir(startup_folder.c_str()) != 0) {
    // The folder may have gone away meanwhile; there is nothing left to run in it.
  }
  return 0;
}
