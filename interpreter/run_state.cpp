// Definitions of the shared scan state and run flags.
#include "interpreter/run_state.h"

const char* line_start = nullptr;
std::uint32_t line_text_origin = 0;
std::uint32_t line_text_epoch = 0;
const char* line_end = nullptr;
std::int32_t line_length = 0;
const char* scan_pointer = nullptr;
const char* statement_start = nullptr;

double double_accumulator = 0;
char string_accumulator[string_accumulator_size] = {};
std::int32_t string_accumulator_length = 0;

std::uint32_t console_mode = 0;
int debug_mode = 0;
int step_mode = 0;
int trace_mode = 0;
int no_execute = 0;
int prescan_mode = 0;
int program_ended = 0;
int kill_requested = 0;
int command_line_mode = 0;
int computing_busy = 0;
int long_all_mode = 0;

int current_channel = 0;
