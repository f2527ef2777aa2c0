// Process entry: hands the command line to the start-up sequence, with the
// desktop module as its window branch (console mode never loads Qt).
#include "frontend/desktop_launch.h"
#include "frontend/startup.h"

int main(int argc, char** argv) { return tovarelle_main(argc, argv, desktop_launch); }
