// The form of INPUTDIALOG and UPDATEDIALOG (see input_form_dialog.h).
#include "frontend/qt/dialogs/input_form_dialog.h"

#include <QMessageBox>

#include "frontend/qt/dialogs/program_dialog_common.h"

namespace {

QRect to_rect(const dialog_rect& r) { return QRect(r.x, r.y, r.width, r.height); }

}  // namespace

InputFormDialog::InputFormDialog(dialog_form& form, FormChecker& checker, QWidget* parent)
    : QDialog(parent), form_(form), checker_(checker) {
  setWindowTitle(dialog_text(form.title));
  setFixedSize(form.width, form.height);
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  show_refusal = [this](const QString& title, const QString& message) {
    QMessageBox::warning(this, title, message);
  };
  const std::size_t count = form.elements.size();
  fields_.assign(count, nullptr);
  labels_.assign(count, nullptr);
  buttons_.assign(count, nullptr);
  QPushButton* first_button = nullptr;
  for (std::size_t i = 0; i < count; ++i) {
    const form_element& e = form.elements[i];
    if (e.is_button) {
      auto* button = new QPushButton(dialog_text(e.label), this);
      button->setObjectName(QStringLiteral("button%1").arg(e.button_number));
      button->setGeometry(to_rect(e.box));
      const int number = e.button_number;
      connect(button, &QPushButton::clicked, this, [this, number] { press(number); });
      buttons_[i] = button;
      if (!first_button) first_button = button;
      continue;
    }
    auto* label = new QLabel(dialog_text(e.label), this);
    label->setGeometry(to_rect(e.label_rect));
    auto* edit = new QLineEdit(dialog_text(e.text), this);
    edit->setObjectName(QStringLiteral("field%1").arg(e.index));
    edit->setGeometry(to_rect(e.box));
    edit->setMaxLength(255);
    labels_[i] = label;
    fields_[i] = edit;
  }
  if (form.has_ok_button) {
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setGeometry(to_rect(form.ok_rect));
    connect(ok_, &QPushButton::clicked, this, [this] { press(0); });
    ok_->setDefault(true);
  } else if (first_button) {
    first_button->setDefault(true);
  }
  if (form.large) {
    for (QWidget* w : findChildren<QWidget*>()) w->setFont(dialog_font_medium());
  }
  center_window(*this);
  for (QLineEdit* f : fields_) {
    if (f) {
      f->setFocus();
      break;
    }
  }
}

void InputFormDialog::press(int button) {
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (fields_[i]) form_.elements[i].text = dialog_bytes(fields_[i]->text());
  form_check check = checker_.check(form_, button);
  if (check.status == 1) {
    show_refusal(dialog_text(check.title), dialog_text(check.message));
    if (check.element >= 0 && static_cast<std::size_t>(check.element) < fields_.size()) {
      if (QLineEdit* f = fields_[static_cast<std::size_t>(check.element)]) {
        f->setFocus();
        f->selectAll();
      }
    }
    return;  // the form stays open
  }
  answer_ = check.status < 0 ? check.status : button;
  QDialog::done(check.status < 0 ? QDialog::Rejected : QDialog::Accepted);
}

void InputFormDialog::reject() {
  answer_ = dialog_cancelled;
  QDialog::reject();
}
