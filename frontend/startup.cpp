// Start-up: splits the command line and chooses console or window mode.
#include "frontend/startup.h"

#include <strings.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "frontend/console_mode.h"
#include "frontend/output_buffer.h"
#include "session/paths.h"
#include "session/recent_lists.h"
#include "frontend/settings.h"
#include "interpreter/program_buffer.h"
#include "interpreter/run_state.h"

unsigned autorun_pending = 0;
std::string command_line_program_refused;
const char* startup_refusal = nullptr;

int check_command_line(int argc, char** argv) {
  std::size_t total = 0;
  for (int i = 1; i < argc && i <= command_line_max_args; ++i) {
    std::size_t length = std::strlen(argv[i]);
    if (length >= command_line_arg_max_chars) return -1;
    total += length + (i > 1 ? 1 : 0);
  }
  return total >= command_line_max_chars ? -1 : 0;
}

void apply_command_line_program(const std::string& argument) {
  autorun_pending = 0;
  command_line_program_refused.clear();
  if (argument.empty()) return;
  std::string folder, name, joined;
  if (path_split(argument, folder, name, PATH_BASE_WORKING) < 0 || path_combine(joined, folder, name) < 0 ||
      path_resolve_split(joined, src_pgm_path, src_pgm_name) < 0) {
    command_line_program_refused = argument[0] == '/' ? argument : working_folder + "/" + argument;
    return;
  }
  source_file_path = joined;
  recent_list_push_path(recent_source_programs, joined, true);
  autorun_pending = 1;
}

int tovarelle_main(int argc, char** argv, window_main_function window_main) {
  start_time = std::time(nullptr);
  // A closed pipe or socket is a failed write that the writer reports, never
  // a signal that ends the process with its files unwritten.
  std::signal(SIGPIPE, SIG_IGN);
  // Saved settings and the size settings (written back at every start).
  settings_load_at_startup();
  if (check_command_line(argc, argv) < 0) {
    settings_tell_waiting_to_stderr();
    std::fprintf(stderr, "Error: Invalid Parameters (too long)\n");
    // With a display the window branch shows it in a message box too;
    // console mode stays without windows.
    if (argc > 1 && strcasecmp(argv[1], "/c") != 0) {
      startup_refusal = "Invalid Parameters (too long)";
      window_main(argc, argv);
    }
    return -1;
  }
  if (argc > 1 && strcasecmp(argv[1], "/c") == 0) {
    console_mode = 1;
    // A settings failure is said on standard error, apart from the output.
    settings_install_teller([](const std::string& text) { std::fprintf(stderr, "tovarelle: %s\n", text.c_str()); });
    return console_sequence();
  }
  int result = window_main(argc, argv);  // the window tells settings failures in message boxes
  settings_tell_waiting_to_stderr();     // what a window never got to show
  return result;
}
