// Process entry: hands the command line to the start-up sequence, with the
// Qt desktop as its window branch (console mode never starts Qt).
#include "frontend/qt/desktop_main.h"
#include "frontend/startup.h"

int main(int argc, char** argv) { return tovarelle_main(argc, argv, desktop_main); }
