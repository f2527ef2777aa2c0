// Process entry: hands the command line to the start-up sequence.
#include "frontend/startup.h"

int main(int argc, char** argv) { return tovarelle_main(argc, argv); }
