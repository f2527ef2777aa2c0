// The dialogs of graph export (see graph_export_dialogs.h).
// Before any Qt header: Qt defines "slots" as a macro, and the settings
// header has a member of that name.
#include "frontend/settings.h"

#include "frontend/qt/graph_export_dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>

#include "session/paths.h"
#include "frontend/qt/dialogs/program_dialog_common.h"

namespace {

constexpr int quality_min = 25, quality_max = 100;
constexpr int resolution_min = 25, resolution_max = 600;
constexpr int preset_values[4] = {50, 100, 200, 300};
constexpr std::size_t max_path_chars = 258;

QScrollBar* make_bar(int low, int high, int page, int value, QWidget* parent) {
  auto* bar = new QScrollBar(Qt::Horizontal, parent);
  bar->setRange(low, high);
  bar->setSingleStep(1);
  bar->setPageStep(page);
  bar->setValue(value);
  bar->setMinimumWidth(200);
  return bar;
}

}  // namespace

bool jpeg_name_has_suffix(const std::string& name) {
  auto ends_with = [&](const char* suffix) {
    std::size_t n = std::char_traits<char>::length(suffix);
    if (name.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i)
      if (std::tolower(static_cast<unsigned char>(name[name.size() - n + i])) != suffix[i]) return false;
    return true;
  };
  return ends_with(".jpg") || ends_with(".jpeg");
}

JpegOptionsDialog::JpegOptionsDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Output Graph as a JPEG File");
  jpeg_quality = std::clamp<std::uint32_t>(jpeg_quality, quality_min, quality_max);
  jpeg_resolution = std::clamp<std::uint32_t>(jpeg_resolution, resolution_min, resolution_max);

  quality_bar_ = make_bar(quality_min, quality_max, 10, static_cast<int>(jpeg_quality), this);
  resolution_bar_ = make_bar(resolution_min, resolution_max, 20, static_cast<int>(jpeg_resolution), this);
  quality_value_ = new QLabel(QString::number(jpeg_quality), this);
  resolution_value_ = new QLabel(QString::number(jpeg_resolution), this);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("JPEG Quality", this), 0, 0, 1, 3, Qt::AlignHCenter);
  grid->addWidget(new QLabel("Resolution (pixels/inch)", this), 0, 3, 1, 4, Qt::AlignHCenter);
  grid->addWidget(quality_bar_, 1, 0, 1, 3);
  grid->addWidget(resolution_bar_, 1, 3, 1, 4);
  grid->addWidget(new QLabel("Smallest", this), 2, 0, Qt::AlignLeft);
  grid->addWidget(quality_value_, 2, 1, Qt::AlignHCenter);
  grid->addWidget(new QLabel("Best", this), 2, 2, Qt::AlignRight);
  grid->addWidget(resolution_value_, 2, 3, 1, 4, Qt::AlignHCenter);
  for (int i = 0; i < 4; ++i) {
    presets_[i] = new QRadioButton(this);
    presets_[i]->setAutoExclusive(false);
    presets_[i]->setAccessibleName(QString::number(preset_values[i]));
    grid->addWidget(presets_[i], 3, 3 + i, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QString::number(preset_values[i]), this), 4, 3 + i, Qt::AlignHCenter);
    // A preset sets the resolution and is unchecked again: none stays selected.
    connect(presets_[i], &QRadioButton::clicked, this, [this, i] {
      resolution_bar_->setValue(preset_values[i]);
      presets_[i]->setChecked(false);
    });
  }

  connect(quality_bar_, &QScrollBar::valueChanged, this, [this](int v) {
    jpeg_quality = static_cast<std::uint32_t>(v);
    quality_value_->setText(QString::number(v));
  });
  connect(resolution_bar_, &QScrollBar::valueChanged, this, [this](int v) {
    jpeg_resolution = static_cast<std::uint32_t>(v);
    resolution_value_->setText(QString::number(v));
  });

  file_ = new QLineEdit(QString::fromStdString(jpeg_full_path), this);
  file_->setMaxLength(static_cast<int>(max_path_chars));
  auto* browse_button = new QPushButton("Browse", this);
  connect(browse_button, &QPushButton::clicked, this, &JpegOptionsDialog::browse);
  auto* file_row = new QHBoxLayout;
  file_row->addWidget(new QLabel("Outout JPEG file:", this));
  file_row->addWidget(file_, 1);
  file_row->addWidget(browse_button);

  auto* ok = new QPushButton("OK", this);
  auto* cancel = new QPushButton("Cancel", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &JpegOptionsDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &JpegOptionsDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(new QLabel("(Should be .JPG or .JPEG)", this));
  buttons->addStretch(1);
  buttons->addWidget(cancel);
  buttons->addWidget(ok);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(12);
  layout->addLayout(file_row);
  layout->addLayout(buttons);
  // On the screen, not over the graph window (hidden while it runs).
  center_window(*this);
}

void JpegOptionsDialog::browse() {
  path_split(jpeg_full_path, jpeg_path, jpeg_file, 0);
  if (browse_save_file(false, "Specify Location and File Name for JPEG File", jpeg_path, jpeg_file) == 1) {
    if (!jpeg_name_has_suffix(jpeg_file))
      QMessageBox::warning(this, "JPEG File Name", "Warning -- JPEG file name should have .JPG or .JPEG suffix");
    path_combine(jpeg_full_path, jpeg_path, jpeg_file);
  }
  file_->setText(QString::fromStdString(jpeg_full_path));
}

void JpegOptionsDialog::accept() {
  std::string text = file_->text().toStdString();
  if (text.size() > max_path_chars) text.resize(max_path_chars);
  std::string folder, name;
  if (path_split(text, folder, name, 0) >= 0) {
    jpeg_path = folder;
    jpeg_file = name;
    std::string joined;
    if (path_combine(joined, folder, name) >= 0) jpeg_full_path = joined;
  }
  QDialog::accept();
}

VirtualPrinterDialog::VirtualPrinterDialog(bool default_printer_usable, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Virtual Printer Selection");
  auto* intro = new QLabel(
      "A metafile is drawn on a \"virtual printer\": a printer whose resolution and page serve as the model "
      "of the graph's output.",
      this);
  auto* advice = new QLabel(
      "Selecting the correct printer will guarantee maximum precision and resolution of your output graph.  "
      "For best results, select a quality printer and set the orientation (portrait or landscape) to match "
      "your graph.",
      this);
  auto* note = new QLabel(
      "The printer you select does not need to be physically attached to the computer or currently active.", this);
  for (QLabel* l : {intro, advice, note}) l->setWordWrap(true);

  choose_ = new QPushButton("Select a printer and orientation", this);
  default_ = new QPushButton("Use the default printer in its current orientation", this);
  screen_ = new QPushButton("Use your screen resolution", this);
  default_->setEnabled(default_printer_usable);
  auto finish = [this](int id) {
    choice_ = id;
    done(id);
  };
  connect(choose_, &QPushButton::clicked, this, [finish] { finish(1020); });
  connect(screen_, &QPushButton::clicked, this, [finish] { finish(1021); });
  connect(default_, &QPushButton::clicked, this, [finish] { finish(1022); });

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(choose_);
  buttons->addWidget(default_);
  buttons->addWidget(screen_);
  auto* row = new QHBoxLayout;
  row->addWidget(note, 1);
  row->addLayout(buttons, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(advice);
  layout->addLayout(row);
  center_window(*this);
}

QPushButton* VirtualPrinterDialog::button(int id) const {
  switch (id) {
    case 1020: return choose_;
    case 1021: return screen_;
    case 1022: return default_;
    default: return nullptr;
  }
}
