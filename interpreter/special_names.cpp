// The thirteen special names and the INKEY$ key wait.
#include "interpreter/special_names.h"

#include <cstring>
#include <string>
#include <string_view>

#include "session/paths.h"
#include "interpreter/errors.h"
#include "interpreter/functions.h"
#include "interpreter/input.h"
#include "interpreter/keywords.h"
#include "interpreter/named_vars.h"
#include "interpreter/pending.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "interpreter/program_dialogs.h"
#include "interpreter/run_state.h"
#include "interpreter/timing.h"
#include "interpreter/variables.h"
#include "interpreter/window_controls.h"
#include "ports/frontend_port.h"
#include "platform/terminal_keys.h"
#include "rizozira/long_functions.h"
#include "rizozira/long_number.h"

std::int64_t stopwatch_start = 0;
std::uint32_t key_waiting = 0;
std::uint32_t key_ready = 0;
unsigned char key_char = 0;

namespace {

int result_double(double value) {
  double_accumulator = value;
  return ITEM_DOUBLE;
}

int result_string(std::string_view text) {
  if (text.size() > max_string_length) return report_error(err_string_too_long);
  std::memcpy(string_accumulator, text.data(), text.size());
  string_accumulator[text.size()] = '\0';
  string_accumulator_length = static_cast<std::int32_t>(text.size());
  return ITEM_STRING;
}

int inkey() {
  if (!console_mode) controls_key_wait(true);
  int result = wait_for_keystroke();
  if (!console_mode) controls_key_wait(false);
  if (result < 0) return result;
  if (key_char == 0) return result_string("");
  char c = static_cast<char>(key_char);
  return result_string(std::string_view(&c, 1));
}

int choosefont() {
  if (console_mode) return report_error(err_function_not_valid_in_console);
  std::string face;
  int point_size = 0, weight = 0, italic = 0;
  int result = choose_font_dialog(face, point_size, weight, italic);
  if (result < 0) return result;
  // The choices go to the program's variables when it has them.
  set_named_var_int("choosefontsize", point_size);
  set_named_var_int("choosefontbold", weight);
  set_named_var_int("choosefontitalic", italic ? 1 : 0);
  return result_string(face);
}

}  // namespace

int wait_for_keystroke() {
  key_char = 0;
  if (no_execute) return 0;
  if (console_mode) {
    unsigned char key = 0;
    int got = terminal_read_key(key);
    if (got < 0) return -1;
    if (got == 0) {
      // The input has ended: no key can ever come, so the run ends here.
      return report_error_message(err_end_file_on_input, "End of input: no key for INKEY$.");
    }
    key_char = key;
    return 0;
  }
  FrontendPort& port = frontend_port();
  key_waiting = 1;
  key_ready = 0;
  port.enable_control(IDC_KILL, true);
  port.set_control_text(IDC_COMMAND_LABEL, "Awaiting Keystroke:");
  // A Step pressed while the key is awaited: stepping goes on from here.
  wait_for_events_until([] { return key_ready || !key_waiting; }, true);
  controls_restore_command_label();
  bool got_key = key_ready != 0;
  key_waiting = 0;
  key_ready = 0;
  return got_key ? 0 : -1;
}

int do_special_name(int index) {
  if (no_execute) {
    string_accumulator[0] = '\0';
    string_accumulator_length = 0;
    return result_double(0.0);
  }
  switch (index) {
    // The long-number names are computed by the long-number routines.
    case SPECIAL_LONGPI: return long_special_longpi();
    case SPECIAL_LONGE: return long_special_longe();
    case SPECIAL_REMAINDER: return long_special_remainder();
    case SPECIAL_COSSAME: return long_special_cossame();
    case SPECIAL_CHECKDEGREES:
      return result_double(degrees_mode ? 1.0 : 0.0);
    case SPECIAL_STARTTIMER:
      timer_read(stopwatch_start);
      return result_double(timer_available ? 1.0 : 0.0);
    case SPECIAL_ENDTIMER:
      return result_double(timer_available ? static_cast<double>(timer_elapsed_us(stopwatch_start)) : 0.0);
    case SPECIAL_MATHERROR:
      return result_double(static_cast<double>(math_error_flag));
    case SPECIAL_WORKINGDIR_STR:
      return result_string(working_folder.empty() ? path_current_directory() : working_folder);
    case SPECIAL_PROGRAMDIR_STR:
      return result_string(program_folder);
    case SPECIAL_CHECKMOUSECLICK: {
      double event = graph_event;
      graph_event = -1;
      return result_double(event);
    }
    case SPECIAL_INKEY_STR:
      return inkey();
    case SPECIAL_CHOOSEFONT_STR:
      return choosefont();
    default:
      return -1;
  }
}
