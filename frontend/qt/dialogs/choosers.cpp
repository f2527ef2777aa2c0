// The file, folder and font choosers (see choosers.h).
#include "frontend/qt/dialogs/choosers.h"

#include <QFileInfo>

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
  dialog->setOption(QFontDialog::ScalableFonts, true);
  dialog->setOption(QFontDialog::NonScalableFonts, false);
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
