// The installed front-end port and its console and scripted implementations.
#include "platform/frontend_port.h"

#include "platform/console.h"

namespace {
ConsolePort console_port;
FrontendPort* installed_port = &console_port;
}  // namespace

FrontendPort& frontend_port() { return *installed_port; }
void install_frontend_port(FrontendPort* port) { installed_port = port ? port : &console_port; }

void ConsolePort::print_text(std::string_view text) { console_write(text); }

void ScriptedPort::set_control_text(int control, std::string_view text) {
  events.push_back("text " + std::to_string(control) + " " + std::string(text));
}
void ScriptedPort::enable_control(int control, bool enabled) {
  events.push_back("enable " + std::to_string(control) + " " + (enabled ? "1" : "0"));
}
void ScriptedPort::focus_control(int control) { events.push_back("focus " + std::to_string(control)); }
bool ScriptedPort::pump_messages() {
  ++pumps;
  return quit_after_pumps < 0 || pumps < quit_after_pumps;
}
