// The desktop branch of start-up: creates the Qt application and the main
// dialog (the display was found reachable before). Returns the process exit
// code. The module exports it as tovarelle_desktop_main (desktop_launch.h).
#pragma once

int desktop_main(int argc, char** argv);

// What the graph window asks of the main dialog: Tab back to the command
// box, Pause (Run/Step) and Restart (Run).
struct GraphWindowLinks graph_window_links(class MainWindow* window);
