// The Qt dialog port: modeless message box and selection list, the modal
// input form, and the file, folder, font and serial-port choosers.
#include "frontend/qt/dialogs/qt_dialog_port.h"

#include <QPointer>
#include <memory>

#include "frontend/qt/dialogs/choosers.h"
#include "frontend/qt/dialogs/input_form_dialog.h"
#include "frontend/qt/dialogs/message_box_dialog.h"
#include "frontend/qt/dialogs/select_dialog.h"
#include "frontend/qt/dialogs/serial_port_dialog.h"

namespace {

class QtDialogPort final : public DialogPort {
 public:
  explicit QtDialogPort(QWidget* owner) : owner_(owner) {}
  ~QtDialogPort() override { close_modeless(); }

  int open_message_box(const message_box_request& request) override {
    return open(new MessageBoxDialog(request, owner_));
  }
  int open_select_list(const select_request& request) override { return open(new SelectDialog(request, owner_)); }

  int modeless_result() override {
    if (!modeless_) return answer_;
    int answer = modeless_->answer();
    if (answer == dialog_still_open && !modeless_->isVisible()) answer = dialog_cancelled;  // closed elsewhere
    if (answer == dialog_still_open) return answer;
    answer_ = answer;
    modeless_->deleteLater();
    modeless_ = nullptr;
    return answer_;
  }

  void close_modeless() override {
    if (!modeless_) return;
    modeless_->reject();
    modeless_->deleteLater();
    modeless_ = nullptr;
    answer_ = dialog_cancelled;
  }

  int input_form(dialog_form& form, FormChecker& checker) override {
    InputFormDialog dialog(form, checker, owner_);
    dialog.exec();
    return dialog.answer();
  }

  int choose_file(bool save, const std::string& title, std::string& folder, std::string& name) override {
    std::unique_ptr<QFileDialog> dialog(make_file_dialog(owner_, save, title, folder, name));
    if (dialog->exec() != QDialog::Accepted) return dialog_cancelled;
    return file_dialog_choice(*dialog, folder, name) ? 0 : dialog_cancelled;
  }

  int choose_folder(const std::string& title, std::string& folder) override {
    std::unique_ptr<QFileDialog> dialog(make_folder_dialog(owner_, title, folder));
    if (dialog->exec() != QDialog::Accepted) return dialog_cancelled;
    return folder_dialog_choice(*dialog, folder) ? 0 : dialog_cancelled;
  }

  int choose_font(dialog_font_choice& font) override {
    std::unique_ptr<QFontDialog> dialog(make_font_dialog(owner_));
    if (dialog->exec() != QDialog::Accepted) return dialog_cancelled;
    font = font_dialog_choice(dialog->selectedFont());
    return 0;
  }

  int choose_serial_port(serial_port_request& request) override {
    SerialPortDialog dialog(request, nullptr);  // shown without an owner window
    dialog.exec();
    return dialog.answer();
  }

 private:
  int open(ModelessDialog* dialog) {
    close_modeless();
    modeless_ = dialog;
    answer_ = dialog_still_open;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return 0;
  }

  QPointer<QWidget> owner_;
  QPointer<ModelessDialog> modeless_;
  int answer_ = dialog_cancelled;
};

std::unique_ptr<QtDialogPort> installed;

}  // namespace

void install_qt_dialogs(QWidget* owner) {
  install_dialog_port(nullptr);
  installed.reset();
  if (!owner) return;
  installed = std::make_unique<QtDialogPort>(owner);
  install_dialog_port(installed.get());
}
