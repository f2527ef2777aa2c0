// A scripted front-end port for tests: records output and every control
// call; pumps and waits can be scripted to report Quit after a number of calls
// and to run a step (hand over a reply, press Kill) at a given wait.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ports/frontend_port.h"

class ScriptedPort final : public FrontendPort {
 public:
  std::string output;
  std::vector<std::string> events;  // "text <id> <text>", "enable <id> <0|1>", "check <id> <0|1>", "focus <id>", "finished"
  int pumps = 0;
  int waits = 0;
  int last_wait_timeout_ms = 0;  // the timeout the last wait was given
  int quit_after_pumps = -1;  // -1: never quit
  // Called at each wait (with the wait's number from 1); stands for the
  // event the wait would have dispatched.
  std::function<void(int)> on_wait;

  void print_text(std::string_view text) override { output.append(text); }
  void set_control_text(int control, std::string_view text) override {
    events.push_back("text " + std::to_string(control) + " " + std::string(text));
  }
  void enable_control(int control, bool enabled) override {
    events.push_back("enable " + std::to_string(control) + " " + (enabled ? "1" : "0"));
  }
  void check_control(int control, bool checked) override {
    events.push_back("check " + std::to_string(control) + " " + (checked ? "1" : "0"));
  }
  void focus_control(int control) override { events.push_back("focus " + std::to_string(control)); }
  bool pump_messages() override {
    ++pumps;
    return quit_after_pumps < 0 || pumps < quit_after_pumps;
  }
  bool wait_for_event(int timeout_ms) override {
    ++waits;
    last_wait_timeout_ms = timeout_ms;
    if (on_wait) on_wait(waits);
    return pump_messages();
  }
  void run_finished() override { events.emplace_back("finished"); }
};
