// The desktop branch of start-up (see desktop_main.h).
#include "frontend/qt/desktop_main.h"

#include <cstdio>
#include <cstdlib>

bool desktop_display_available() {
  auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

int desktop_main(int, char**) {
  if (!desktop_display_available()) {
    std::fprintf(stderr,
                 "tovarelle: no display found (DISPLAY is not set); "
                 "start it with /c to use console mode.\n");
    return 1;
  }
  std::fprintf(stderr,
               "tovarelle: the desktop window is not part of this build; "
               "start it with /c to use console mode.\n");
  return 1;
}
