// Console I/O over stdin/stdout with CR-LF folding on output.
#include "platform/console.h"

#include <cstdio>
#include <unistd.h>

namespace {
bool pending_cr = false;  // a CR held back until we know whether LF follows
}

bool console_read_line(char* buf, std::size_t cap, std::size_t& count) {
  count = 0;
  if (cap == 0) return false;
  buf[0] = 0;
  console_flush();
  int c = 0;
  while (count + 1 < cap && (c = std::getchar()) != EOF) {
    buf[count++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buf[count] = 0;
  return count > 0;
}

void console_write(std::string_view text) {
  for (char ch : text) {
    if (pending_cr) {
      pending_cr = false;
      if (ch != '\n') std::fputc('\r', stdout);
    }
    if (ch == '\r') {
      pending_cr = true;
      continue;
    }
    std::fputc(ch, stdout);
  }
  if (!text.empty() && (text.back() == '\n' || text.back() == '\r')) std::fflush(stdout);
}

void console_flush() {
  if (pending_cr) {
    pending_cr = false;
    std::fputc('\r', stdout);
  }
  std::fflush(stdout);
}

bool console_output_is_terminal() { return isatty(STDOUT_FILENO) == 1; }
bool console_input_is_terminal() { return isatty(STDIN_FILENO) == 1; }
