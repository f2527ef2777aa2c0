// What the program dialogs share: the dialog fonts, the placement of a
// control from a template rectangle, and the base of the two modeless
// dialogs (message box and selection list), whose answer the interpreter
// polls while it waits.
#pragma once
#include <QDialog>
#include <QFont>
#include <QRect>
#include <QString>
#include <string>

#include "ports/dialog_port.h"

// The dialogs' fonts: medium (18 pixels) and large (22 pixels) sans serif.
QFont dialog_font_medium();
QFont dialog_font_large();
// The font a template names by its point size (the templates' sans serif).
QFont template_font(int point_size);

// Centres a window (at its present size, laid out first when it has not
// been sized yet) in the screen's available area, kept off the far edges
// and never above or left of the area. A window not yet shown is moved by
// its frame.
void center_window(QWidget& window);

// Texts cross the port as bytes: UTF-8 where valid, else Windows-1252.
QString dialog_text(const std::string& bytes);
std::string dialog_bytes(const QString& text);

// A dialog the program waits for in its own loop. answer() is
// dialog_still_open while it is shown, then the answer it closed with.
class ModelessDialog : public QDialog {
 public:
  explicit ModelessDialog(QWidget* parent);
  int answer() const { return answer_; }
  void reject() override;  // Esc and the close box: cancelled

 protected:
  void finish(int answer);  // closes the dialog with this answer

 private:
  int answer_ = dialog_still_open;
};
