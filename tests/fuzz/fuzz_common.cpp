// One-time interpreter start-up for the fuzz harnesses, the console-mode
// kill timer, the scratch folder, and stand-ins for the routines that reach
// outside the process: a fuzzed program must never start, open or change
// whatever its text happens to name, nor write outside its scratch folder
// (the linker's --wrap routes those calls here).
#include "tests/fuzz/fuzz_common.h"

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "session/paths.h"
#include "interpreter/errors.h"
#include "interpreter/host_api.h"
#include "interpreter/init.h"
#include "interpreter/run_state.h"

extern "C" {
int __real_chdir(const char* path);
int __real_open(const char* path, int flags, ...);
FILE* __real_fopen(const char* path, const char* mode);
int __real_rename(const char* from, const char* to);
int __real_mkstemp(char* pattern);
}

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

namespace {
std::string scratch;  // this process's own folder; empty until made

bool under(std::string_view path, std::string_view folder) {
  return !folder.empty() && path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         path[folder.size()] == '/';
}

// True when a file may be written at path: anywhere before start-up (the
// fuzzer's own files), then only inside the scratch folder (a relative path
// is inside: the current directory is the scratch folder) or the folder
// TOV_FUZZ_WRITABLE names (the fuzzer's corpus and findings, written also
// from its crash handler), and never climbing out through "..".
bool write_allowed(const char* path) {
  if (scratch.empty()) return true;
  if (path == nullptr || path[0] == 0) return false;
  std::string_view p(path);
  for (std::size_t at = 0; (at = p.find("..", at)) != std::string_view::npos; at += 2) {
    bool starts = at == 0 || p[at - 1] == '/';
    bool ends = at + 2 == p.size() || p[at + 2] == '/';
    if (starts && ends) return false;
  }
  if (p[0] != '/' || under(p, scratch)) return true;
  const char* writable = std::getenv("TOV_FUZZ_WRITABLE");
  return writable != nullptr && writable[0] == '/' && under(p, writable);
}

int remove_entry(const char* path, const struct stat*, int, FTW*) { return ::remove(path); }

void remove_scratch() {
  if (!scratch.empty()) nftw(scratch.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

void make_scratch() {
  std::string base = path_current_directory();
  if (const char* dir = std::getenv("TOV_FUZZ_SCRATCH")) base = dir;
  std::string pattern = base + "/worker-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr || __real_chdir(pattern.c_str()) != 0) {
    std::fprintf(stderr, "fuzz: cannot make a scratch folder under %s\n", base.c_str());
    std::abort();
  }
  scratch = pattern;
  std::atexit(remove_scratch);
  startup_folder = working_folder = default_work_folder = run_start_folder = scratch;
  program_folder = scratch;
}
}  // namespace

void FuzzPort::print_text(std::string_view text) {
  static const bool echo = [] {
    const char* value = std::getenv("TOV_FUZZ_ECHO");
    return value != nullptr && value[0] == '1';
  }();
  if (echo) std::fwrite(text.data(), 1, text.size(), stderr);
}

const std::string& fuzz_scratch_folder() { return scratch; }

void fuzz_write_scratch_file(const char* name, const void* data, std::size_t size) {
  std::string path = scratch + "/" + name;
  std::FILE* file = __real_fopen(path.c_str(), "wb");
  bool ok = file != nullptr && std::fwrite(data, 1, size, file) == size;
  if (file != nullptr && std::fclose(file) != 0) ok = false;
  if (!ok) {
    std::fprintf(stderr, "fuzz: cannot write %s\n", path.c_str());
    std::abort();
  }
}

void fuzz_start_input() {
  interpreter_reset();
  kill_requested = 0;
  // Files the last input wrote go (the folder itself stays).
  if (DIR* dir = ::opendir(scratch.c_str())) {
    while (dirent* entry = ::readdir(dir)) {
      if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
      std::string path = scratch + "/" + entry->d_name;
      nftw(path.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
    }
    ::closedir(dir);
  }
  working_folder = program_folder = scratch;
}

FuzzPort& fuzz_start_interpreter() {
  static FuzzPort port;
  static bool started = false;
  if (!started) {
    started = true;
    make_scratch();
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

// Writes go only inside the scratch folder; reading is free.
int __wrap_open(const char* path, int flags, ...) {
  mode_t mode = 0;
  if ((flags & O_CREAT) != 0) {
    va_list args;
    va_start(args, flags);
    mode = static_cast<mode_t>(va_arg(args, unsigned));
    va_end(args);
  }
  if ((flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0 && !write_allowed(path)) {
    errno = EACCES;
    return -1;
  }
  return __real_open(path, flags, mode);
}
FILE* __wrap_fopen(const char* path, const char* mode) {
  if (mode != nullptr && std::strpbrk(mode, "wa+") != nullptr && !write_allowed(path)) {
    errno = EACCES;
    return nullptr;
  }
  return __real_fopen(path, mode);
}
int __wrap_rename(const char* from, const char* to) {
  if (!write_allowed(from) || !write_allowed(to)) {
    errno = EACCES;
    return -1;
  }
  return __real_rename(from, to);
}
int __wrap_mkstemp(char* pattern) {
  if (!write_allowed(pattern)) {
    errno = EACCES;
    return -1;
  }
  return __real_mkstemp(pattern);
}
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
