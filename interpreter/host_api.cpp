// The host API (see host_api.h): the few entry points through which a
// front-end runs lines and programs and passes on the user's requests.
#include "interpreter/host_api.h"

#include <cstring>

#include "interpreter/commands.h"
#include "interpreter/errors.h"
#include "interpreter/file_table.h"
#include "interpreter/files.h"
#include "interpreter/init.h"
#include "interpreter/input.h"
#include "interpreter/output_channels.h"
#include "interpreter/program_buffer.h"
#include "interpreter/memo.h"
#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "interpreter/special_names.h"
#include "interpreter/variables.h"

namespace {
constexpr std::size_t typed_line_size = 256;  // 255 bytes and the terminating zero
char typed_line[typed_line_size];
}  // namespace

int host_init() {
  if (init_interpreter_tables() < 0) {
    line_start = nullptr;
    return report_error(err_initialization_error);
  }
  program_load_failed = 0;
  return 0;
}

namespace {

// A typed line: a command word runs at once, statement text behind the
// program. from_command_box: the window's command box, where the statements
// that belong in a program file (DATA, FIELD, APPEND, INCLUDE, CHAIN) are
// refused; a command word's own run is not affected.
int run_line(std::string_view line, bool from_command_box) {
  if (line.size() >= typed_line_size) {
    line_start = nullptr;
    return report_error(err_statement_too_long_255);
  }
  std::memcpy(typed_line, line.data(), line.size());
  typed_line[line.size()] = '\0';
  line_length = static_cast<std::int32_t>(line.size());
  scan_pointer = line_start = statement_start = typed_line;
  line_text_origin = 0;
  line_end = line_start + line_length;
  int classified = classify_command_line();
  if (classified <= 0) return classified;
  if (from_command_box) command_line_mode = 1;
  int result = run_typed_line();
  command_line_mode = 0;
  return result;
}

}  // namespace

int host_run_typed_line(std::string_view line) { return run_line(line, false); }

int host_run_program_file(const std::string& path, bool step) {
  source_file_path = path;
  program_already_loaded = 0;
  run_mode = RUN_MODE_RUN;
  if (step) step_requested = 1;
  return run_program();
}

void host_request_kill() {
  kill_requested = 1;
  chain_pending = 0;
}

void host_request_step() {
  step_requested = 1;
  run_step_needs_enable = 1;  // the front-end may disable Run/Step now
}

void host_request_continue() {
  step_mode = 0;
  step_requested = 0;
  step_banner_pending = 0;
}

int host_run_command_line(std::string_view line) {
  kill_requested = 0;
  program_running = 1;
  int result = run_line(line, true);
  program_running = 0;
  return result;
}

bool host_queue_stepping_command(std::string_view line) {
  if (!step_mode || !program_running) return false;
  std::size_t n = line.size() < sizeof command_line - 1 ? line.size() : sizeof command_line - 1;
  std::memcpy(command_line, line.data(), n);
  command_line[n] = '\0';
  immediate_command_pending = 1;
  kill_requested = 0;
  step_requested = 1;
  return true;
}

void host_print_banner(std::string_view text) { print_screen_item_line(text); }

int host_report_error(int code, const std::string& text) {
  line_start = nullptr;
  error_column = 0;
  return text.empty() ? report_error(code) : report_error_message(code, text.c_str());
}

void host_reset_screen_channel() {
  if (file_table != nullptr) reset_print_channel(0);
}

bool host_give_input_reply(std::string_view reply) {
  if (!input_waiting) return false;
  std::size_t n = reply.size() < input_line_size - 1 ? reply.size() : input_line_size - 1;
  std::memcpy(input_line, reply.data(), n);
  input_line[n] = '\0';
  input_ready = 1;
  return true;
}

bool host_give_key(unsigned char key) {
  if (!key_waiting) return false;
  key_char = key;
  key_ready = 1;
  return true;
}

bool host_is_busy() { return program_running != 0; }
bool host_input_waiting() { return input_waiting != 0; }
bool host_stepping() { return step_mode != 0; }
bool host_key_waiting() { return key_waiting != 0; }
bool host_computing() { return computing_busy != 0; }

void interpreter_reset() {
  reset_run_flags();
  file_close_all();
  clear_all_variables();
  if (program_buffer != nullptr) program_buffer[0] = '\0';
  memo_program_changed();
  program_length = 0;
  program_offset = 0;
  statement_number_count = 0;
  data_count = 0;
  program_load_failed = 0;
  program_already_loaded = 0;
  step_mode = 0;
  step_requested = 0;
  input_waiting = 0;
  input_ready = 0;
  key_waiting = 0;
  key_ready = 0;
}
