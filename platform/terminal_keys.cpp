// Single-key reads from standard input (INKEY$ in console mode).
#include "platform/terminal_keys.h"

#include <stdio_ext.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <iterator>

#include "platform/console.h"

namespace {

// What a signal during the wait needs to put the terminal back.
termios signal_restore_settings{};
volatile sig_atomic_t signal_restore_fd = -1;
constexpr int guarded_signals[] = {SIGINT, SIGTERM, SIGQUIT, SIGHUP};

// Restores the terminal, then lets the signal do what it did before.
extern "C" void restore_terminal_and_reraise(int signal_number) {
  if (signal_restore_fd >= 0) tcsetattr(signal_restore_fd, TCSANOW, &signal_restore_settings);
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

// Puts the terminal on fd in non-canonical, no-echo mode for its lifetime and
// restores the settings it found, whatever way the wait ends (a signal that
// ends the program included).
class raw_terminal_guard {
 public:
  explicit raw_terminal_guard(int fd) : fd_(fd) {
    if (tcgetattr(fd_, &saved_) != 0) return;
    signal_restore_settings = saved_;
    signal_restore_fd = fd_;
    for (std::size_t i = 0; i < std::size(guarded_signals); ++i) {
      struct sigaction action {};
      action.sa_handler = restore_terminal_and_reraise;
      sigemptyset(&action.sa_mask);
      sigaction(guarded_signals[i], &action, &previous_[i]);
      // A signal the program ignored stays ignored, and one it handles itself
      // (console mode's Ctrl+C) keeps its handler: the wait then ends and
      // this guard puts the terminal back on its way out.
      if (previous_[i].sa_handler != SIG_DFL) sigaction(guarded_signals[i], &previous_[i], nullptr);
    }
    termios raw = saved_;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));  // signals (Ctrl-C) stay on
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    active_ = tcsetattr(fd_, TCSANOW, &raw) == 0;
  }
  ~raw_terminal_guard() {
    if (active_) tcsetattr(fd_, TCSANOW, &saved_);
    if (signal_restore_fd < 0) return;
    for (std::size_t i = 0; i < std::size(guarded_signals); ++i) sigaction(guarded_signals[i], &previous_[i], nullptr);
    signal_restore_fd = -1;
  }
  raw_terminal_guard(const raw_terminal_guard&) = delete;
  raw_terminal_guard& operator=(const raw_terminal_guard&) = delete;

 private:
  int fd_;
  termios saved_{};
  struct sigaction previous_[std::size(guarded_signals)] {};
  bool active_ = false;
};

}  // namespace

int terminal_read_key(unsigned char& key) {
  console_flush();
  int c;
  if (isatty(STDIN_FILENO) == 1) {
    // Keys typed before the wait do not count: drop them.
    __fpurge(stdin);
    tcflush(STDIN_FILENO, TCIFLUSH);
    raw_terminal_guard guard(STDIN_FILENO);
    do {
      errno = 0;
      c = std::getchar();
      if (c == EOF && errno == EINTR) {
        std::clearerr(stdin);
        if (console_interrupted()) break;  // ended at the next safe point
      }
    } while (c == EOF && errno == EINTR);
  } else {
    c = std::getchar();
  }
  if (c == EOF) return std::ferror(stdin) ? -1 : 0;
  key = static_cast<unsigned char>(c);
  return 1;
}
