// The file, folder and font choosers, configured as the programs and the
// main dialog need them: no filter, the file of an open dialog must exist,
// a save dialog does not ask before replacing; scalable fonts only.
#pragma once
#include <QFileDialog>
#include <QFontDialog>
#include <string>

#include "ports/dialog_port.h"

// The dialogs, ready to exec(); the caller owns them.
QFileDialog* make_file_dialog(QWidget* parent, bool save, const std::string& title, const std::string& folder,
                              const std::string& name);
QFileDialog* make_folder_dialog(QWidget* parent, const std::string& title, const std::string& folder);
QFontDialog* make_font_dialog(QWidget* parent);

// An accepted file dialog's choice split into folder and name. False when
// nothing was chosen.
bool file_dialog_choice(const QFileDialog& dialog, std::string& folder, std::string& name);
// An accepted folder dialog's folder. False when nothing was chosen.
bool folder_dialog_choice(const QFileDialog& dialog, std::string& folder);
// A chosen font as the font chooser reports it.
dialog_font_choice font_dialog_choice(const QFont& font);
