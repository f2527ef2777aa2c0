// The file, folder and font choosers (see choosers.h).
#include "frontend/qt/dialogs/choosers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>

#include "frontend/qt/dialogs/program_dialog_common.h"

QFileDialog* make_file_dialog(QWidget* parent, bool save, const std::string& title, const std::string& folder,
                              const std::string& name) {
  auto* dialog = new QFileDialog(parent, dialog_text(title), dialog_text(folder));
  dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!name.empty()) dialog->selectFile(dialog_text(name));
  return dialog;
}

QFileDialog* make_folder_dialog(QWidget* parent, const std::string& title, const std::string& folder) {
  auto* dialog = new QFileDialog(parent, dialog_text(title), dialog_text(folder));
  dialog->setFileMode(QFileDialog::Directory);
  dialog->setOption(QFileDialog::ShowDirsOnly, true);
  return dialog;
}

QFontDialog* make_font_dialog(QWidget* parent) {
  auto* dialog = new QFontDialog(parent);
  // Qt's own dialog, so that its choices can be narrowed down below.
  dialog->setOption(QFontDialog::DontUseNativeDialog, true);
  dialog->setOption(QFontDialog::ScalableFonts, true);
  dialog->setOption(QFontDialog::NonScalableFonts, false);
  // A face, its style and a size only: no writing-system choice (the
  // dialog's one combo box, with its label) and no effects (the group
  // holding the strikeout and underline boxes).
  for (QComboBox* combo : dialog->findChildren<QComboBox*>()) {
    combo->hide();
    for (QLabel* label : dialog->findChildren<QLabel*>())
      if (label->buddy() == combo) label->hide();
  }
  for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
    box->hide();
    if (auto* group = qobject_cast<QGroupBox*>(box->parentWidget())) group->hide();
  }
  // The sample keeps the height the effects gave its row.
  for (QGroupBox* group : dialog->findChildren<QGroupBox*>())
    if (!group->isHidden()) group->setMinimumHeight(group->fontMetrics().height() * 5);
  return dialog;
}

bool file_dialog_choice(const QFileDialog& dialog, std::string& folder, std::string& name) {
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  QFileInfo info(chosen.first());
  folder = dialog_bytes(info.absolutePath());
  name = dialog_bytes(info.fileName());
  return true;
}

bool folder_dialog_choice(const QFileDialog& dialog, std::string& folder) {
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  folder = dialog_bytes(QFileInfo(chosen.first()).absoluteFilePath());
  return true;
}

dialog_font_choice font_dialog_choice(const QFont& font) {
  dialog_font_choice choice;
  choice.face = dialog_bytes(font.family());
  choice.point_size = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
  choice.weight = font.weight() >= QFont::Bold ? 700 : 400;
  choice.italic = font.italic() ? 1 : 0;
  return choice;
}
