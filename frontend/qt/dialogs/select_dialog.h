// The selection list of select(): a prompt and a list of the array's
// non-empty elements, with OK and Cancel; a double click chooses too.
#pragma once
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "frontend/qt/dialogs/program_dialog_common.h"

class SelectDialog final : public ModelessDialog {
 public:
  SelectDialog(const select_request& request, QWidget* parent);
  QLabel* prompt() const { return prompt_; }
  QListWidget* list() const { return list_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }

 private:
  void choose();  // OK or a double click: the selected entry, if any

  QLabel* prompt_;
  QListWidget* list_;
  QPushButton* ok_;
  QPushButton* cancel_;
};
