// One-time interpreter start-up for the fuzz harnesses, and stand-ins for
// the routines that start other programs: a fuzzed program must never run
// whatever its text happens to name (the linker's --wrap routes the calls here).
#include "tests/fuzz/fuzz_common.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <csignal>
#include <sys/time.h>

#include "interpreter/init.h"
#include "interpreter/run_state.h"

namespace {
void on_alarm(int) { kill_requested = 1; }
}  // namespace

void fuzz_arm_alarm(int milliseconds) {
  if (!console_mode) return;
  itimerval timer{};
  timer.it_value.tv_sec = milliseconds / 1000;
  timer.it_value.tv_usec = (milliseconds % 1000) * 1000;
  setitimer(ITIMER_REAL, &timer, nullptr);
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
    if (console_mode) std::signal(SIGALRM, on_alarm);
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
// DELAY and the stepping waits would only slow the fuzzer down.
void __wrap__Z18sleep_microsecondsm(unsigned long) {}
}  // extern "C"
