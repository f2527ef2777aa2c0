// One-time interpreter start-up for the fuzz harnesses, the console-mode
// kill timer, and stand-ins for the routines that reach outside the process:
// a fuzzed program must never start, open or change whatever its text
// happens to name (the linker's --wrap routes those calls here).
#include "tests/fuzz/fuzz_common.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "interpreter/errors.h"
#include "interpreter/init.h"
#include "interpreter/run_state.h"

namespace {
// A timer of its own on a real-time signal: SIGALRM belongs to libFuzzer's
// -timeout, which must keep reporting real hangs.
timer_t kill_timer;
bool kill_timer_made = false;
void on_kill_timer(int) { kill_requested = 1; }
}  // namespace

void fuzz_arm_alarm(int milliseconds) {
  if (!console_mode) return;
  if (!kill_timer_made) {
    std::signal(SIGRTMIN, on_kill_timer);
    sigevent event{};
    event.sigev_notify = SIGEV_SIGNAL;
    event.sigev_signo = SIGRTMIN;
    if (timer_create(CLOCK_MONOTONIC, &event, &kill_timer) != 0) {
      std::fprintf(stderr, "fuzz: cannot create the kill timer\n");
      std::abort();
    }
    kill_timer_made = true;
  }
  itimerspec when{};
  when.it_value.tv_sec = milliseconds / 1000;
  when.it_value.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  timer_settime(kill_timer, 0, &when, nullptr);
}

FuzzPort& fuzz_start_interpreter() {
  static FuzzPort port;
  static bool started = false;
  if (!started) {
    started = true;
    install_frontend_port(&port);
    // The window road by default: every statement pumps, so the budget
    // applies. TOV_FUZZ_CONSOLE=1 takes the console road (run with stdin on
    // /dev/null so that console reads end at once).
    const char* console = std::getenv("TOV_FUZZ_CONSOLE");
    console_mode = console != nullptr && console[0] == '1';
    if (init_interpreter_tables() < 0) {
      std::fprintf(stderr, "fuzz: interpreter start-up failed\n");
      std::abort();
    }
  }
  return port;
}

extern "C" {
int __wrap__Z13process_spawnRKSt6vectorINSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEESaIS5_EERKS5_(
    const std::vector<std::string>&, const std::string&) {
  return -1;
}
int __wrap__Z21process_open_documentRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEES6_(
    const std::string&, const std::string&) {
  return -1;
}
int __wrap__Z15sound_play_fileRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE(const std::string&) {
  return 2;
}
int __wrap_chdir(const char*) { return -1; }  // keep every run in the sandbox folder
// Console mode has no Kill button, so the long-number kernels never see the
// kill timer through the real poll; here they do, as they would in a window.
int __real__Z19poll_user_interruptv();
int __wrap__Z19poll_user_interruptv() {
  if (console_mode && kill_requested) return report_error(106);
  return __real__Z19poll_user_interruptv();
}
// Serial ports are real devices: a fuzzed program opens none. (The settings
// are never looked at, so their type need not be spelt here.)
int __wrap__Z16serial_port_openPKcRK20serial_line_settings(const char*, const void*) { return -1; }
// DELAY and the stepping waits would only slow the fuzzer down.
void __wrap__Z18sleep_microsecondsm(unsigned long) {}
}  // extern "C"
