// Shared set-up for the fuzz harnesses: a quiet front-end port that bounds
// how long one input may run, and the one-time interpreter start-up.
#pragma once
#include <chrono>
#include <cstdint>
#include <string_view>

#include "ports/frontend_port.h"

// In console mode (TOV_FUZZ_CONSOLE=1 in the environment): arms a one-shot
// alarm that sets kill_requested after milliseconds, as the Kill button would.
void fuzz_arm_alarm(int milliseconds);

// Swallows output and ends a run (as the Kill button would) once the input
// has used its budget of message pumps or of wall time, so that programs
// that loop by design (10 GOTO 10) end instead of hanging the fuzzer.
class FuzzPort final : public FrontendPort {
 public:
  void print_text(std::string_view) override {}
  void set_control_text(int, std::string_view) override {}
  void enable_control(int, bool) override {}
  void focus_control(int) override {}
  void check_control(int, bool) override {}
  bool wait_for_event(int) override { return pump_messages(); }
  bool pump_messages() override {
    if (++pumps > max_pumps) return false;
    return std::chrono::steady_clock::now() < deadline;
  }
  void run_finished() override {}

  // Starts the budget of one input. Console mode pumps nothing, so there an
  // alarm sets kill_requested at the deadline instead (see fuzz_common.cpp).
  void start(long pump_budget, int milliseconds) {
    pumps = 0;
    max_pumps = pump_budget;
    deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    fuzz_arm_alarm(milliseconds);
  }

 private:
  long pumps = 0;
  long max_pumps = 0;
  std::chrono::steady_clock::time_point deadline{};
};

// Installs a FuzzPort and runs init_interpreter_tables once per process;
// aborts when start-up fails, since then no input can say anything.
FuzzPort& fuzz_start_interpreter();
