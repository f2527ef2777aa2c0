// The port chooser of BROWSECOMMPORTS$ (see serial_port_dialog.h).
#include "frontend/qt/dialogs/serial_port_dialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "frontend/qt/dialogs/program_dialog_common.h"

SerialPortDialog::SerialPortDialog(serial_port_request& request, QWidget* parent)
    : QDialog(parent), request_(request) {
  setWindowTitle(request.large ? QStringLiteral("Select Comm Port") : QStringLiteral("Select COMM Port"));
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  QFont font = request.large ? dialog_font_large() : dialog_font_medium();
  prompt_ = new QLabel(dialog_text(request.prompt), this);
  prompt_->setWordWrap(true);
  prompt_->setFont(font);
  list_ = new QListWidget(this);
  list_->setFont(font);
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  rescan_ = new QPushButton(QStringLiteral("Rescan"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  buttons->addWidget(rescan_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt_);
  layout->addWidget(list_);
  layout->addLayout(buttons);
  connect(ok_, &QPushButton::clicked, this, [this] { choose(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
  connect(rescan_, &QPushButton::clicked, this, [this] { rescan(); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { choose(); });
  fill();
}

void SerialPortDialog::fill() {
  list_->clear();
  for (const std::string& port : request_.ports) list_->addItem(dialog_text(port));
  if (list_->count() > 0) list_->setCurrentRow(0);
}

void SerialPortDialog::choose() {
  int row = list_->currentRow();
  if (row < 0 || list_->selectedItems().isEmpty()) {
    reject();  // nothing selected ends the dialog as a cancel
    return;
  }
  answer_ = row;
  QDialog::accept();
}

void SerialPortDialog::rescan() {
  if (!request_.rescan || request_.rescan(request_.ports) < 0) {
    reject();
    return;
  }
  fill();
}

void SerialPortDialog::reject() {
  answer_ = dialog_cancelled;
  QDialog::reject();
}
