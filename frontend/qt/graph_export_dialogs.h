// The dialogs of graph export: the JPEG options (quality, resolution with
// its presets, the file) and the virtual-printer choice of a metafile's
// reference device.
#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

// "Output Graph as a JPEG File". Quality and resolution changes go to
// jpeg_quality and jpeg_resolution at once, whether the dialog then ends
// with OK or Cancel; OK also takes the file field into jpeg_full_path.
class JpegOptionsDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit JpegOptionsDialog(QWidget* parent = nullptr);

  QScrollBar* quality_bar() const { return quality_bar_; }
  QScrollBar* resolution_bar() const { return resolution_bar_; }
  QRadioButton* preset(int index) const { return presets_[index]; }  // 0..3: 50, 100, 200, 300
  QLineEdit* file_field() const { return file_; }
  QLabel* quality_label() const { return quality_value_; }
  QLabel* resolution_label() const { return resolution_value_; }

 public slots:
  void accept() override;

 private:
  void browse();
  QScrollBar* quality_bar_;
  QScrollBar* resolution_bar_;
  QLabel* quality_value_;
  QLabel* resolution_value_;
  QRadioButton* presets_[4];
  QLineEdit* file_;
};

// "Virtual Printer Selection": ends with the id of the button pressed
// (1020 choose a printer, 1021 the screen, 1022 the default printer), or 2
// when closed.
class VirtualPrinterDialog final : public QDialog {
  Q_OBJECT
 public:
  VirtualPrinterDialog(bool default_printer_usable, QWidget* parent = nullptr);
  int choice() const { return choice_; }
  QPushButton* button(int id) const;

 private:
  int choice_ = 2;
  QPushButton* choose_;
  QPushButton* screen_;
  QPushButton* default_;
};

// True when name ends in ".jpg" or ".jpeg", in any case.
bool jpeg_name_has_suffix(const std::string& name);
