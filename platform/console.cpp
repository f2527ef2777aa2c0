// Console I/O over stdin/stdout with CR-LF folding on output.
#include "platform/console.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <unistd.h>

volatile std::sig_atomic_t console_interrupt_flag = 0;

namespace {
bool pending_cr = false;  // a CR held back until we know whether LF follows
void (*fault_handler)(console_fault) = nullptr;
bool output_failed = false;
int output_error = 0;

extern "C" void note_interrupt(int) { console_interrupt_flag = 1; }

void report_fault(console_fault fault) {
  if (fault_handler != nullptr) fault_handler(fault);
}

// After a write: a stream error is a failed console, reported once.
void check_output() {
  if (output_failed || !std::ferror(stdout)) return;
  output_failed = true;
  output_error = errno != 0 ? errno : EIO;
  report_fault(console_fault::output_failed);
}
}  // namespace

void console_catch_faults(void (*handler)(console_fault)) {
  fault_handler = handler;
  std::signal(SIGPIPE, SIG_IGN);
  struct sigaction previous {};
  sigaction(SIGINT, nullptr, &previous);
  if (previous.sa_handler == SIG_IGN) return;  // started with Ctrl+C ignored (nohup, a background job)
  struct sigaction action {};
  action.sa_handler = note_interrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a waiting read returns and sees the flag
  sigaction(SIGINT, &action, nullptr);
}

void console_hand_over_interrupt() { report_fault(console_fault::interrupt); }

bool console_output_failed() { return output_failed; }
int console_output_error() { return output_error; }

bool console_read_line(char* buf, std::size_t cap, std::size_t& count) {
  count = 0;
  if (cap == 0) return false;
  buf[0] = 0;
  console_flush();
  int c = 0;
  for (;;) {
    while (count + 1 < cap && (c = std::getchar()) != EOF) {
      buf[count++] = static_cast<char>(c);
      if (c == '\n') break;
    }
    // A signal that interrupted the wait: Ctrl+C ends the process there;
    // any other signal just resumes the read.
    if (c != EOF || !std::ferror(stdin) || errno != EINTR) break;
    std::clearerr(stdin);
    console_check_interrupt();
  }
  buf[count] = 0;
  return count > 0;
}

void console_write(std::string_view text) {
  if (output_failed) return;  // nothing more reaches a failed console
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
  check_output();
}

void console_flush() {
  if (output_failed) return;
  if (pending_cr) {
    pending_cr = false;
    std::fputc('\r', stdout);
  }
  std::fflush(stdout);
  check_output();
}

bool console_output_is_terminal() { return isatty(STDOUT_FILENO) == 1; }
bool console_input_is_terminal() { return isatty(STDIN_FILENO) == 1; }
