// SIGTERM and SIGINT to the desktop: the process ends as Exit ends it (the
// run stopped, the log closed, the settings saved). The handler only writes
// a byte to a pipe; the event loop reads it and takes the Exit road there.
#pragma once
#include <QObject>
#include <functional>

class QSocketNotifier;

class EndSignals final : public QObject {
 public:
  // Installs the handlers; on_end runs from the event loop once a signal has
  // come. The handlers go back to the default at the first signal (a second
  // one ends the process at once) and when this object goes.
  explicit EndSignals(std::function<void()> on_end, QObject* parent = nullptr);
  ~EndSignals() override;
  EndSignals(const EndSignals&) = delete;
  EndSignals& operator=(const EndSignals&) = delete;
  bool installed() const { return notifier_ != nullptr; }

 private:
  void take();
  std::function<void()> on_end_;
  QSocketNotifier* notifier_ = nullptr;
};
