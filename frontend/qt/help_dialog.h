// The Help dialog: buttons that open the help documents beside the program
// and the configured web pages. One at a time; the main dialog stays usable.
#pragma once
#include <QDialog>
#include <map>

class HelpDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit HelpDialog(int screen_size, QWidget* parent = nullptr);
  QWidget* button(int id) const;

 private:
  std::map<int, QWidget*> buttons_;
};
