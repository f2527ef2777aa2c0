// The message box of messagebox(): a message and one to three buttons, laid
// out by the templates for each button count and ScreenSize.
#pragma once
#include <QLabel>
#include <QPushButton>
#include <vector>

#include "frontend/qt/dialogs/program_dialog_common.h"

struct DialogUnits;

class MessageBoxDialog final : public ModelessDialog {
 public:
  MessageBoxDialog(const message_box_request& request, QWidget* parent);
  QLabel* message() const { return message_; }
  const std::vector<QPushButton*>& buttons() const { return buttons_; }

 private:
  void widen_for_captions(const DialogUnits& units);

  QLabel* message_;
  std::vector<QPushButton*> buttons_;
};
