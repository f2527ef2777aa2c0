// A one-line edit that reports Enter, leaving the field, Up and Down to its
// owner and keeps Enter from reaching the dialog's default button.
#pragma once
#include <QLineEdit>
#include <functional>

class FieldEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit FieldEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}
  std::function<void()> on_enter;
  std::function<void()> on_leave;
  std::function<void()> on_focus;
  std::function<bool(int)> on_browse;  // -1 Up, +1 Down; true when handled
  bool escape_clears = true;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
};

// Message boxes of the desktop, replaceable by tests (nothing blocks then).
// A hook returns the answer to a yes/no question; for plain messages its
// result is ignored.
using message_box_hook_function = std::function<bool(const QString& title, const QString& text, bool yes_no)>;
extern message_box_hook_function message_box_hook;
void show_message(QWidget* parent, const QString& title, const QString& text);
bool ask_yes_no(QWidget* parent, const QString& title, const QString& text);
