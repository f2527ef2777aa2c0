// The main dialog's window: the widgets of the small or large layout under
// their control ids, forwarding every event to the dialog's logic
// (frontend/main_dialog.h) and serving it as its control layer.
#pragma once
#include <QDialog>
#include <QPointer>
#include <map>

#include "frontend/main_dialog.h"

class QPlainTextEdit;
class QLabel;
class FieldEdit;

class MainWindow final : public QDialog, public DialogControls {
  Q_OBJECT
 public:
  // screen_size 1 small, 2 large (the ScreenSize setting in force). room:
  // the space for the window with its frame; empty takes the screen's
  // available area. A layout too large for it is shrunk, and the large one
  // gives way to the small one when it would have to shrink too far.
  explicit MainWindow(int screen_size, QSize room = QSize(), QWidget* parent = nullptr);
  ~MainWindow() override;

  // Builds the run host, prints the banner, shows the idle state; with
  // autorun the source program runs once the window is up.
  void start(bool autorun);
  MainDialog& logic() { return *logic_; }
  QWidget* control(int id) const;
  QPlainTextEdit* output_box() const { return output_; }
  bool closing() const { return closing_; }
  int screen_size() const { return screen_size_; }

  // DialogControls
  void set_text(int control, const std::string& text) override;
  std::string text(int control) override;
  void enable(int control, bool enabled) override;
  void check(int control, bool checked) override;
  bool checked(int control) override;
  void focus(int control) override;
  void focus_next(int control) override;
  void select_all(int control) override;
  void set_reply_colour(bool waiting) override;
  void output_added(const std::string& display_text) override;
  void output_replaced(const std::string& display_text) override;
  void message(const std::string& text, const std::string& title) override;
  bool ask_yes_no(const std::string& text, const std::string& title) override;
  bool choose_path(int kind, const std::string& title, const std::string& start, std::string& chosen) override;
  void post(std::function<void()> call) override;
  bool pump() override;
  bool wait(int timeout_ms) override;
  void open_customize() override;
  void open_help() override;
  void minimize() override;
  void restore_and_raise() override;
  void end_dialog() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build(QSize room);
  FieldEdit* make_edit(int id);
  void fit_output_font();

  int screen_size_;
  std::map<int, QWidget*> controls_;
  mutable int last_id_ = -1;  // the last control looked up, and its widget
  mutable QWidget* last_control_ = nullptr;
  QPlainTextEdit* output_ = nullptr;
  FieldEdit* command_ = nullptr;
  MainDialog* logic_ = nullptr;
  QPointer<QDialog> help_;
  QPointer<QDialog> customize_;
  bool closing_ = false;
  bool reply_colour_ = false;
};
