// Start-up: splits the command line and chooses console or window mode.
#include "frontend/startup.h"

#include <strings.h>

#include "frontend/console_mode.h"
#include "frontend/settings.h"
#include "interpreter/run_state.h"

int tovarelle_main(int argc, char** argv, window_main_function window_main) {
  // Saved settings and the size settings (written back at every start).
  settings_load_at_startup();
  if (argc > 1 && strcasecmp(argv[1], "/c") == 0) {
    console_mode = 1;
    return console_sequence();
  }
  return window_main(argc, argv);
}
