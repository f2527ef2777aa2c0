// The message box of messagebox() (see message_box_dialog.h).
#include "frontend/qt/dialogs/message_box_dialog.h"

#include "frontend/qt/dialog_units.h"

#include <algorithm>

namespace {

// One template: its size, font and controls, in dialog units.
struct box_template {
  int width, height, font_points;
  QRect message;
  QRect buttons[3];
};

// By button count (1, 2, 3), small and large.
const box_template small_templates[3] = {
    {197, 90, 12, {7, 13, 183, 30}, {{62, 54, 74, 21}}},
    {242, 90, 12, {7, 13, 228, 30}, {{33, 53, 74, 21}, {127, 53, 74, 21}}},
    {274, 90, 12, {25, 13, 228, 30}, {{17, 54, 66, 21}, {100, 54, 65, 21}, {181, 54, 66, 21}}},
};
const box_template large_templates[3] = {
    {245, 103, 14, {7, 7, 231, 41}, {{80, 56, 83, 28}}},
    {245, 103, 14, {7, 13, 231, 38}, {{29, 56, 83, 28}, {132, 56, 83, 28}}},
    {351, 103, 14, {31, 13, 296, 35}, {{29, 56, 83, 28}, {132, 56, 83, 28}, {233, 56, 83, 28}}},
};

QRect place(const DialogUnits& units, const QRect& r) { return units.rect(r.x(), r.y(), r.width(), r.height()); }

// The least gap kept between the buttons and from the dialog's sides when
// the row has to be laid out again, in dialog units.
constexpr int row_gap_units = 7;

}  // namespace

MessageBoxDialog::MessageBoxDialog(const message_box_request& request, QWidget* parent) : ModelessDialog(parent) {
  int count = static_cast<int>(request.buttons.size());
  if (count < 1) count = 1;
  if (count > 3) count = 3;
  const box_template& t = (request.large ? large_templates : small_templates)[count - 1];
  QFont font = template_font(t.font_points);
  setFont(font);
  DialogUnits units = dialog_units_for(font);
  setWindowTitle(QStringLiteral("Tovarelle BASIC"));
  setFixedSize(units.size(t.width, t.height));

  message_ = new QLabel(dialog_text(request.text), this);
  message_->setObjectName(QStringLiteral("message"));
  message_->setWordWrap(true);
  message_->setAlignment(Qt::AlignCenter);
  message_->setGeometry(place(units, t.message));
  for (int i = 0; i < count; ++i) {
    QString caption = i < static_cast<int>(request.buttons.size()) ? dialog_text(request.buttons[i]) : QString();
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QStringLiteral("button%1").arg(i + 1));
    button->setGeometry(place(units, t.buttons[i]));
    button->setDefault(i == 0);
    connect(button, &QPushButton::clicked, this, [this, i] { finish(i + 1); });
    buttons_.push_back(button);
  }
  widen_for_captions(units);
  center_window(*this);
}

void MessageBoxDialog::widen_for_captions(const DialogUnits& units) {
  // A caption of up to 20 characters can be wider than the template's
  // button: then every button gets the width of the widest caption, the row
  // is centred with the template's spacing, and the dialog (and its message)
  // grows when the row needs more room.
  int widest = 0;
  bool clipped = false;
  for (QPushButton* b : buttons_) {
    widest = std::max({widest, b->sizeHint().width(), b->width()});
    clipped = clipped || b->sizeHint().width() > b->width();
  }
  if (!clipped) return;
  const int count = static_cast<int>(buttons_.size());
  const int min_gap = units.size(row_gap_units, 0).width();
  int gap = min_gap;
  if (count > 1) gap = std::max(min_gap, buttons_[1]->x() - buttons_[0]->geometry().right() - 1);
  const int row = count * widest + (count - 1) * gap;
  const int dialog_width = std::max(width(), row + 2 * min_gap);
  const int grown = dialog_width - width();
  setFixedSize(dialog_width, height());
  QRect text = message_->geometry();
  message_->setGeometry(text.x(), text.y(), text.width() + grown, text.height());
  int x = (dialog_width - row) / 2;
  for (QPushButton* b : buttons_) {
    b->setGeometry(x, b->y(), widest, b->height());
    x += widest + gap;
  }
}
