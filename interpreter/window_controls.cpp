// The main dialog's recurring control sequences and the waits on the
// front-end port (see window_controls.h).
#include "interpreter/window_controls.h"

#include "interpreter/run_control.h"
#include "platform/clock.h"

namespace {

const char stepping_label[] = "Stepping -- Command:";

// The controls that could start something else while INKEY$ waits.
const int disabled_while_key_waits[] = {
    IDC_WORKING_DIR,     IDC_SOURCE_PROGRAM, IDC_LOG_FILE,      IDC_OUTPUT,
    IDC_BROWSE_WORKDIR,  IDC_BROWSE_SOURCE,  IDC_BROWSE_LOG,    IDC_CREATE_LOG,
    IDC_USE_WORKING_DIR, IDC_HELP,           IDC_EDIT_SOURCE,
};

}  // namespace

void controls_show_stepping(command_box_action box) {
  FrontendPort& port = frontend_port();
  port.set_control_text(IDC_COMMAND_LABEL, stepping_label);
  port.set_control_text(IDC_RUN, "Continue");
  port.set_control_text(IDC_RUN_STEP, "Step");
  port.enable_control(IDC_RUN, true);
  port.enable_control(IDC_CLEAR_SCREEN, true);
  port.enable_control(IDC_KILL, true);  // a pause, also of a typed line, can be ended
  if (box != COMMAND_BOX_UNTOUCHED) port.enable_control(IDC_COMMAND, true);
  if (box == COMMAND_BOX_FOCUSED) port.focus_control(IDC_COMMAND);
}

void controls_leave_stepping() {
  FrontendPort& port = frontend_port();
  port.set_control_text(IDC_RUN, "Run");
  port.set_control_text(IDC_RUN_STEP, "Step");
  port.enable_control(IDC_RUN, false);
  port.enable_control(IDC_CLEAR_SCREEN, false);
}

void controls_focus_command_box() {
  FrontendPort& port = frontend_port();
  port.enable_control(IDC_COMMAND, true);
  port.focus_control(IDC_COMMAND);
}

void controls_restore_command_label() {
  frontend_port().set_control_text(IDC_COMMAND_LABEL, step_mode ? stepping_label : "Command:");
}

void controls_command_idle() {
  FrontendPort& port = frontend_port();
  port.enable_control(IDC_COMMAND, false);
  port.set_control_text(IDC_COMMAND_LABEL, "Command:");
}

void controls_input_wait(bool waiting) {
  FrontendPort& port = frontend_port();
  if (waiting) {
    port.set_control_text(IDC_COMMAND_LABEL, step_mode ? "Stepping -- Data:" : "Data:");
    port.set_control_text(IDC_RUN_STEP, "Step");
    port.enable_control(IDC_RUN, false);
    port.enable_control(IDC_CLEAR_SCREEN, false);
    port.enable_control(IDC_EXIT, false);
  } else {
    port.enable_control(IDC_EXIT, true);
    controls_restore_command_label();
    if (step_mode) {
      port.enable_control(IDC_RUN, true);
      port.enable_control(IDC_CLEAR_SCREEN, true);
    }
  }
}

void controls_reply_box_ready() {
  FrontendPort& port = frontend_port();
  port.set_control_text(IDC_COMMAND, "");
  port.enable_control(IDC_KILL, true);
  controls_focus_command_box();
}

void controls_key_wait(bool waiting) {
  FrontendPort& port = frontend_port();
  for (int id : disabled_while_key_waits) port.enable_control(id, !waiting);
}

void controls_show_busy() {
  FrontendPort& port = frontend_port();
  port.enable_control(IDC_KILL, true);
  port.enable_control(IDC_COMMAND, false);
  port.set_control_text(IDC_RUN_STEP, "Step");
}

void controls_end_busy() {
  FrontendPort& port = frontend_port();
  port.enable_control(IDC_KILL, false);
  port.enable_control(IDC_RUN_STEP, true);
}

void pump_window_events() {
  if (!frontend_port().pump_messages()) kill_requested = 1;
}

void wait_milliseconds(std::uint32_t ms) {
  if (console_mode) {
    sleep_microseconds(static_cast<std::uint64_t>(ms) * 1000u);
    return;
  }
  const std::uint64_t per_ms = monotonic_frequency / 1000u;
  const std::uint64_t deadline = monotonic_now() + static_cast<std::uint64_t>(ms) * per_ms;
  FrontendPort& port = frontend_port();
  while (!kill_requested) {
    std::uint64_t now = monotonic_now();
    if (now >= deadline) break;
    std::uint64_t left = (deadline - now + per_ms - 1) / per_ms;  // whole milliseconds, rounded up
    if (!port.wait_for_event(static_cast<int>(left))) kill_requested = 1;
  }
}
