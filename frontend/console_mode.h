// Console mode: reads command lines from the terminal and runs them.
#pragma once

// The console branch of start-up; returns the process exit code.
int console_sequence();
int console_mode_run();
int console_command_loop();
