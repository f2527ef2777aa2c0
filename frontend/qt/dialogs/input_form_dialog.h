// The form of INPUTDIALOG and UPDATEDIALOG: labels, edit fields and buttons
// at the positions the interpreter computed, run modally. OK and each form
// button hand the typed texts to the interpreter's checker, which assigns
// them; a refused number keeps the form open at that field.
#pragma once
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <vector>

#include "ports/dialog_port.h"

class InputFormDialog final : public QDialog {
 public:
  InputFormDialog(dialog_form& form, FormChecker& checker, QWidget* parent);

  // 0 (OK), a form button's number, dialog_cancelled, or the negative result
  // of a failed check; meaningful once the dialog has closed.
  int answer() const { return answer_; }
  // Shows the checker's refusal; a message box unless a test replaces it.
  std::function<void(const QString& title, const QString& message)> show_refusal;

  // The controls, by element position in the form (null where the element
  // has none of that kind).
  QLineEdit* field(std::size_t element) const { return fields_[element]; }
  QLabel* label(std::size_t element) const { return labels_[element]; }
  QPushButton* form_button(std::size_t element) const { return buttons_[element]; }
  QPushButton* ok_button() const { return ok_; }

  void reject() override;  // Esc, the close box: cancelled

 private:
  void press(int button);  // OK (0) or a form button

  dialog_form& form_;
  FormChecker& checker_;
  std::vector<QLineEdit*> fields_;
  std::vector<QLabel*> labels_;
  std::vector<QPushButton*> buttons_;
  QPushButton* ok_ = nullptr;
  int answer_ = dialog_cancelled;
};
