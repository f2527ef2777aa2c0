// The front-end port: everything the interpreter needs from its host window.
// Console mode installs ConsolePort; the desktop window installs its own; tests
// install ScriptedPort to capture output and script pumps.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// Control ids of the main dialog that the interpreter touches.
enum control_id : int {
  IDC_KILL = 1043,
  IDC_RUN_STEP = 1049,
  IDC_COMMAND = 1053,
};

class FrontendPort {
 public:
  virtual ~FrontendPort() = default;
  virtual void print_text(std::string_view text) = 0;
  virtual void set_control_text(int control, std::string_view text) = 0;
  virtual void enable_control(int control, bool enabled) = 0;
  virtual void focus_control(int control) = 0;
  // Dispatches pending window events; returns false when the application is quitting.
  virtual bool pump_messages() = 0;
  virtual void run_finished() = 0;
};

// Writes to the process's stdout; the window calls are no-ops.
class ConsolePort final : public FrontendPort {
 public:
  void print_text(std::string_view text) override;
  void set_control_text(int, std::string_view) override {}
  void enable_control(int, bool) override {}
  void focus_control(int) override {}
  bool pump_messages() override { return true; }
  void run_finished() override {}
};

// Records everything; pump results can be scripted (a false ends as Quit).
class ScriptedPort final : public FrontendPort {
 public:
  std::string output;
  std::vector<std::string> events;  // "text <id> <text>", "enable <id> <0|1>", "focus <id>", "finished"
  int pumps = 0;
  int quit_after_pumps = -1;  // -1: never quit

  void print_text(std::string_view text) override { output.append(text); }
  void set_control_text(int control, std::string_view text) override;
  void enable_control(int control, bool enabled) override;
  void focus_control(int control) override;
  bool pump_messages() override;
  void run_finished() override { events.emplace_back("finished"); }
};

// The installed port (ConsolePort until something else is installed).
FrontendPort& frontend_port();
void install_frontend_port(FrontendPort* port);  // nullptr restores the console port
