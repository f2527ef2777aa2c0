// Interpreter start-up: keyword tables, predefined variables, and the fixed
// stores allocated from the size settings.
#pragma once

// Returns 0 when everything is ready, else the negative result of
// report_error for the first store that failed (nothing after it is done).
// The caller then reports error 7 "Initialization Error.".
int init_interpreter_tables();
