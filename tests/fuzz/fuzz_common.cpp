// One-time interpreter start-up for the fuzz harnesses, and stand-ins for
// the routines that start other programs: a fuzzed program must never run
// whatever its text happens to name (the linker's --wrap routes the calls here).
#include "tests/fuzz/fuzz_common.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "interpreter/init.h"
#include "interpreter/run_state.h"

FuzzPort& fuzz_start_interpreter() {
  static FuzzPort port;
  static bool started = false;
  if (!started) {
    started = true;
    install_frontend_port(&port);
    console_mode = 0;  // the window road: every statement pumps, so the budget applies
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
