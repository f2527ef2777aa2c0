// The desktop branch of start-up: creates the Qt application and the main
// dialog. Returns the process exit code.
#pragma once

int desktop_main(int argc, char** argv);
// True when a display server can be reached (X11 or Wayland), or Qt was told
// to use a platform plugin that needs none (offscreen, for tests).
bool desktop_display_available();

// What the graph window asks of the main dialog: Tab back to the command
// box, Pause (Run/Step) and Restart (Run).
struct GraphWindowLinks graph_window_links(class MainWindow* window);
