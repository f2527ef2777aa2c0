// The window branch of start-up as the executable sees it: the desktop lives
// in a module (tovarelle-desktop.so beside the executable) that is loaded
// only here, so that console mode never loads Qt.
#pragma once

// Says on standard error when no display can be reached (exit code 1);
// else loads the desktop module and runs its entry point. A module that
// cannot be loaded is one line on standard error and exit code 1.
int desktop_launch(int argc, char** argv);

// True when a display server can be reached (X11 or Wayland), or Qt was told
// to use a platform plugin that needs none (offscreen, for tests).
bool desktop_display_available();

// The file name of the module, and the entry point it exports.
constexpr const char* desktop_module_file = "tovarelle-desktop.so";
constexpr const char* desktop_module_entry = "tovarelle_desktop_main";
extern "C" int tovarelle_desktop_main(int argc, char** argv);
