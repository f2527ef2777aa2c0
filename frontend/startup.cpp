// Start-up: splits the command line and chooses console or window mode.
#include "frontend/startup.h"

#include <cstdio>
#include <strings.h>

#include "frontend/console_mode.h"
#include "frontend/settings.h"
#include "interpreter/run_state.h"

int tovarelle_main(int argc, char** argv) {
  // Saved settings and the size settings (written back at every start).
  settings_load_at_startup();
  if (argc > 1 && strcasecmp(argv[1], "/c") == 0) {
    console_mode = 1;
    return console_sequence();
  }
  std::fprintf(stderr,
               "tovarelle: the desktop window is not part of this build; "
               "start it with /c to use console mode.\n");
  return 1;
}
