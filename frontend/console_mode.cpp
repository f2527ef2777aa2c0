// Console mode: reads command lines from standard input and runs each like a
// line typed into the command box, until an empty line or end of input.
#include "frontend/console_mode.h"

#include <cstddef>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "frontend/paths.h"
#include "interpreter/errors.h"
#include "interpreter/init.h"
#include "interpreter/output.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "platform/console.h"

namespace {
constexpr std::size_t console_line_size = 256;  // 255 bytes and the terminating zero
char console_line[console_line_size];
}  // namespace

int console_command_loop() {
  if (init_interpreter_tables() < 0) {
    line_start = nullptr;
    return report_error(7);
  }
  program_load_failed = 0;
  for (;;) {
    reset_run_flags();
    console_line[0] = 0;
    std::size_t count = 0;
    bool too_long = false;
    // Enter on a terminal gives LF (a console gives CR LF): both end the line.
    if (!read_console_command(console_line, console_line_size, count, too_long)) return 0;
    if (too_long) {
      line_start = nullptr;
      report_error(24);
      continue;
    }
    if (count == 0) return 0;
    if (debug_mode) {
      std::string echo = "\nCommand Line:     ";
      echo += console_line;
      echo += "\n\n";
      print_text(echo);
    }
    line_length = static_cast<std::int32_t>(count);
    scan_pointer = line_start = statement_start = console_line;
    line_end = line_start + line_length;
    if (classify_command_line() <= 0) continue;
    run_typed_line();
  }
}

int console_mode_run() {
  console_command_loop();
  return 0;
}

int console_sequence() {
  console_mode = 1;
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
