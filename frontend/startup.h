// Start-up: command line, settings, then console mode or the desktop window.
#pragma once

// The window branch of start-up, given by the executable (the Qt desktop);
// returns the process exit code.
using window_main_function = int (*)(int argc, char** argv);

int tovarelle_main(int argc, char** argv, window_main_function window_main);
