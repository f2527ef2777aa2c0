// The front-end port: everything the interpreter needs from the window it runs
// in. Console mode uses ConsolePort (platform/console_port.h); the desktop
// installs its own; tests install the scripted fake of tests/support.
#pragma once
#include <string>
#include <string_view>

#include "ports/control_ids.h"

class FrontendPort {
 public:
  virtual ~FrontendPort() = default;
  // Text for the output box (window) or standard output (console).
  virtual void print_text(std::string_view text) = 0;
  // The main dialog's controls, by control id (ports/control_ids.h).
  virtual void set_control_text(int control, std::string_view text) = 0;
  virtual void enable_control(int control, bool enabled) = 0;
  virtual void check_control(int control, bool checked) = 0;
  virtual void focus_control(int control) = 0;
  // Dispatches the events already pending and returns at once (the statement
  // loop and long computations). False when the application is quitting.
  virtual bool pump_messages() = 0;
  // Blocks until at least one event has been dispatched, or timeout_ms has
  // passed (a negative timeout waits without limit). Waiting states (INPUT,
  // INKEY$, stepping, dialog waits) loop on this and test their flag after
  // each return. False when the application is quitting.
  virtual bool wait_for_event(int timeout_ms) = 0;
  // The run or typed line has ended: the dialog returns to its idle state.
  virtual void run_finished() = 0;
  // CLS: empties the output box. 0, or -1 when there is no output buffer.
  virtual int clear_output() { return 0; }
  // DEBUG TESTROUTINE: minimises the main window; the text of a control
  // (empty when there is none) and taking a control away.
  virtual void minimize_window() {}
  virtual std::string control_text(int control) { return {}; }
  virtual void destroy_control(int control) {}
};

// The installed port (the console port until something else is installed).
FrontendPort& frontend_port();
void install_frontend_port(FrontendPort* port);  // nullptr restores the console port
