// The desktop's one-line edits and message boxes (see field_edit.h).
#include "frontend/qt/field_edit.h"

#include <QKeyEvent>
#include <QMessageBox>

message_box_hook_function message_box_hook;

void FieldEdit::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // Taken here: a dialog would otherwise press its default button.
      event->accept();
      if (on_enter) on_enter();
      return;
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (on_browse && on_browse(event->key() == Qt::Key_Up ? -1 : 1)) {
        end(false);
        event->accept();
        return;
      }
      break;
    case Qt::Key_Escape:
      if (escape_clears) {
        clear();
        event->accept();
        return;
      }
      break;
    default: break;
  }
  QLineEdit::keyPressEvent(event);
}

void FieldEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // A popup (a menu) or the window losing activation is not leaving the field.
  if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason && on_leave)
    on_leave();
}

void FieldEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (on_focus) on_focus();
}

void show_message(QWidget* parent, const QString& title, const QString& text) {
  if (message_box_hook) {
    message_box_hook(title, text, false);
    return;
  }
  QMessageBox::information(parent, title, text);
}

bool ask_yes_no(QWidget* parent, const QString& title, const QString& text) {
  if (message_box_hook) return message_box_hook(title, text, true);
  return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
