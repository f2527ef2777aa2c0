// The front-end port of console mode: output to standard output; the main
// dialog's controls do not exist, and nothing is ever pending to pump.
#pragma once
#include "ports/frontend_port.h"

class ConsolePort final : public FrontendPort {
 public:
  void print_text(std::string_view text) override;
  void set_control_text(int, std::string_view) override {}
  void enable_control(int, bool) override {}
  void check_control(int, bool) override {}
  void focus_control(int) override {}
  bool pump_messages() override { return true; }
  bool wait_for_event(int) override { return true; }
  void run_finished() override {}
};
