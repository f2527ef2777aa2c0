// The end signals' self-pipe (see end_signals.h).
#include "frontend/qt/end_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace {

int end_pipe[2] = {-1, -1};
const int end_signals[] = {SIGTERM, SIGINT};

// Async-signal-safe: one write to a non-blocking pipe; a full pipe already
// holds a wake-up.
void on_end_signal(int) {
  int saved = errno;
  const char byte = 1;
  [[maybe_unused]] ssize_t written = ::write(end_pipe[1], &byte, 1);
  errno = saved;
}

void set_handlers(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // the interpreter's reads and writes carry on
  for (int s : end_signals) ::sigaction(s, &action, nullptr);
}

}  // namespace

EndSignals::EndSignals(std::function<void()> on_end, QObject* parent) : QObject(parent), on_end_(std::move(on_end)) {
  if (end_pipe[0] >= 0 || ::pipe2(end_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;  // one watcher per process
  notifier_ = new QSocketNotifier(end_pipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { take(); });
  set_handlers(on_end_signal);
}

EndSignals::~EndSignals() {
  if (notifier_ == nullptr) return;
  set_handlers(SIG_DFL);
  delete notifier_;
  ::close(end_pipe[0]);
  ::close(end_pipe[1]);
  end_pipe[0] = end_pipe[1] = -1;
}

void EndSignals::take() {
  char drained[16];
  while (::read(end_pipe[0], drained, sizeof drained) > 0) {
  }
  set_handlers(SIG_DFL);
  notifier_->setEnabled(false);
  if (on_end_) on_end_();
}
