// Start-up: splits the command line and chooses console or window mode.
#include "frontend/startup.h"

#include <strings.h>

#include <csignal>

#include "frontend/console_mode.h"
#include "frontend/settings.h"
#include "interpreter/run_state.h"

int tovarelle_main(int argc, char** argv, window_main_function window_main) {
  // A closed pipe or socket is a failed write that the writer reports, never
  // a signal that ends the process with its files unwritten.
  std::signal(SIGPIPE, SIG_IGN);
  // Saved settings and the size settings (written back at every start).
  settings_load_at_startup();
  if (argc > 1 && strcasecmp(argv[1], "/c") == 0) {
    console_mode = 1;
    return console_sequence();
  }
  return window_main(argc, argv);
}
