// Single-key reads from standard input (INKEY$ in console mode).
#include "platform/terminal_keys.h"

#include <stdio_ext.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/console.h"

namespace {

// Puts the terminal on fd in non-canonical, no-echo mode for its lifetime and
// restores the settings it found, whatever way the wait ends.
class raw_terminal_guard {
 public:
  explicit raw_terminal_guard(int fd) : fd_(fd) {
    if (tcgetattr(fd_, &saved_) != 0) return;
    termios raw = saved_;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));  // signals (Ctrl-C) stay on
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    active_ = tcsetattr(fd_, TCSANOW, &raw) == 0;
  }
  ~raw_terminal_guard() {
    if (active_) tcsetattr(fd_, TCSANOW, &saved_);
  }
  raw_terminal_guard(const raw_terminal_guard&) = delete;
  raw_terminal_guard& operator=(const raw_terminal_guard&) = delete;

 private:
  int fd_;
  termios saved_{};
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
      if (c == EOF && errno == EINTR) std::clearerr(stdin);
    } while (c == EOF && errno == EINTR);
  } else {
    c = std::getchar();
  }
  if (c == EOF) return std::ferror(stdin) ? -1 : 0;
  key = static_cast<unsigned char>(c);
  return 1;
}
