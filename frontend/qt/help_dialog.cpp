// The Help dialog (see help_dialog.h).
#include "frontend/qt/help_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "frontend/help_links.h"

HelpDialog::HelpDialog(int screen_size, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Tovarelle Help"));
  QFont font = QApplication::font();
  if (screen_size == 2) font.setPixelSize(16);
  setFont(font);
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  int row = 0, column = 0;
  for (const help_button& b : help_buttons) {
    QString caption = QString::fromLatin1(screen_size == 2 ? b.caption_large : b.caption_small);
    if (b.id == 1076) caption += QLatin1Char(' ') + QString::fromStdString(help_pdf_reader_name());
    auto* button = new QPushButton(caption, this);
    button->setAutoDefault(false);
    button->setObjectName(QStringLiteral("control_%1").arg(b.id));
    if (b.kind != HELP_WEB_PAGE) button->setStyleSheet(QStringLiteral("text-align: left; padding: 3px 8px;"));
    if (b.id == 1093)
      button->setStyleSheet(QStringLiteral(
          "QPushButton { background: rgb(216, 180, 0); color: black; font-weight: bold; }"
          // Without an address it cannot open anything: it looks it.
          "QPushButton:disabled { background: rgb(236, 226, 190); color: rgb(150, 140, 110); }"));
    std::string target = help_button_target(b);
    if (target.empty()) {
      button->setEnabled(false);
      button->setToolTip(QStringLiteral("No address is configured for this button (setting %1).")
                             .arg(QString::fromLatin1(b.setting ? b.setting : "")));
    } else {
      button->setToolTip(QString::fromStdString(target));
    }
    const help_button* which = &b;
    connect(button, &QPushButton::clicked, this, [which] { help_open(*which); });
    buttons_[b.id] = button;
    if (b.id == 1107) {
      if (column != 0) {
        column = 0;
        ++row;
      }
      grid->addWidget(new QLabel(QStringLiteral("Graphing Your Data:"), this), row++, 0, 1, 2);
    }
    grid->addWidget(button, row, column);
    if (++column == 2) {
      column = 0;
      ++row;
    }
  }
  outer->addWidget(new QLabel(QStringLiteral("%1 is needed to view or print these documents.")
                                  .arg(QString::fromStdString(help_pdf_reader_name())),
                              this));
}

QWidget* HelpDialog::button(int id) const {
  auto found = buttons_.find(id);
  return found == buttons_.end() ? nullptr : found->second;
}
