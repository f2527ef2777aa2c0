// The main dialog's recurring control sequences (stepping, waiting for a
// reply or a key, busy, idle) and the one wait loop on the front-end port that
// every waiting state uses; each sequence is written here once.
#pragma once
#include <cstdint>

#include "interpreter/run_control.h"
#include "interpreter/run_state.h"
#include "ports/frontend_port.h"

// ---- control sequences (window mode; callers skip them in console mode
// where the language says so) ----

// What a stepping sequence does with the command box.
enum command_box_action : int {
  COMMAND_BOX_UNTOUCHED = 0,
  COMMAND_BOX_ENABLED = 1,
  COMMAND_BOX_FOCUSED = 2,  // enabled and given the focus
};

// Stepping: label "Stepping -- Command:", Run reads "Continue" and Step
// "Step", Run and Clear Screen enabled, the command box as asked.
void controls_show_stepping(command_box_action box);
// Stepping ends (CONT): Run reads "Run" and is disabled with Clear Screen.
void controls_leave_stepping();
// The command box enabled and focused: the statement loop's stepping pause.
void controls_focus_command_box();
// The command label back to "Command:", or "Stepping -- Command:" while
// stepping, after a reply or key wait.
void controls_restore_command_label();
// Idle again after a line typed while stepping, when stepping has ended: the
// command box disabled, label "Command:".
void controls_command_idle();
// INPUT waits for its reply (waiting true) or has got it (false).
void controls_input_wait(bool waiting);
// The command box cleared, enabled and focused, Kill enabled: a reply is read.
void controls_reply_box_ready();
// INKEY$ waits for a key (waiting true) or has got it (false): the controls
// that could start something else are disabled meanwhile.
void controls_key_wait(bool waiting);
// A long computation has taken over the buttons: Kill enabled, the command
// box disabled, Step reads "Step".
void controls_show_busy();
// A long computation was killed: Kill disabled, Step enabled.
void controls_end_busy();

// ---- waits ----

// A Step request (Run/Step or Step) turns stepping on: the banner is flagged
// when stepping was off, and the request is taken unless in skip mode.
// Inline: the statement loop asks before every statement.
inline void take_step_request() {
  if (!step_requested) return;
  if (!step_mode) step_banner_pending = 1;
  step_mode = 1;
  if (!no_execute) step_requested = 0;  // the pre-scan runs with no_execute set as well
}

// Dispatches the pending events at once (the statement loop's pump); a quit
// request counts as Kill.
void pump_window_events();

// Waits on the front-end port until done() holds or Kill is requested: each
// return of wait_for_event is followed by a test of the flags, never a spin
// or a sleep. A quit request counts as Kill. take_steps: a Step pressed
// during the wait turns stepping on (reply and key waits).
template <class Done>
void wait_for_events_until(Done done, bool take_steps) {
  FrontendPort& port = frontend_port();
  while (!done() && !kill_requested) {
    if (!port.wait_for_event(-1)) kill_requested = 1;
    if (take_steps) take_step_request();
  }
}

// A timed pause (DELAY): the console sleeps; a window keeps dispatching its
// events for the remaining time and ends the pause early on Kill.
void wait_milliseconds(std::uint32_t ms);
