// Start-up: command line, settings, then console mode or the desktop window.
#pragma once

int tovarelle_main(int argc, char** argv);
