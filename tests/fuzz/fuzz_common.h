// Shared set-up for the fuzz harnesses: a quiet front-end port that bounds
// how long one input may run, the one-time interpreter start-up, and a
// scratch folder of each process's own where inputs may write files.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>
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
  // Output goes nowhere, or to standard error with TOV_FUZZ_ECHO=1 (to see
  // what a finding does when it is replayed).
  void print_text(std::string_view text) override;
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

// Installs a FuzzPort, makes this process's scratch folder (a new folder
// under the current directory, also the working folder and the current
// directory from then on, so parallel workers never share a file) and runs
// init_interpreter_tables once per process; aborts when start-up fails,
// since then no input can say anything.
FuzzPort& fuzz_start_interpreter();

// The scratch folder, without a closing "/".
const std::string& fuzz_scratch_folder();
// Writes size bytes as the file name in the scratch folder; aborts when it
// cannot (the harness would test nothing).
void fuzz_write_scratch_file(const char* name, const void* data, std::size_t size);
// Empties the scratch folder and puts the interpreter back to its state after
// start-up, so that every input starts alike and a finding replays alone.
void fuzz_start_input();
