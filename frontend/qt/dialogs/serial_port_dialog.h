// The port chooser of BROWSECOMMPORTS$: a prompt, the list of serial ports
// found, OK, Cancel and Rescan.
#pragma once
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "ports/dialog_port.h"

class SerialPortDialog final : public QDialog {
 public:
  SerialPortDialog(serial_port_request& request, QWidget* parent);
  // The chosen entry's position in request.ports, or dialog_cancelled.
  int answer() const { return answer_; }
  QLabel* prompt() const { return prompt_; }
  QListWidget* list() const { return list_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }
  QPushButton* rescan_button() const { return rescan_; }

  void reject() override;

 private:
  void fill();    // the list from request.ports, first entry selected
  void choose();  // OK or a double click
  void rescan();

  serial_port_request& request_;
  QLabel* prompt_;
  QListWidget* list_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* rescan_;
  int answer_ = dialog_cancelled;
};
