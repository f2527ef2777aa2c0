// The selection list of select() (see select_dialog.h).
#include "frontend/qt/dialogs/select_dialog.h"

#include "frontend/qt/dialog_units.h"

namespace {

// The two templates, in dialog units of an 8-point font.
struct select_template {
  int width, height;
  QRect ok, cancel, list, prompt;
};
const select_template small_template{254, 223, {197, 202, 50, 14}, {7, 202, 50, 14}, {51, 83, 147, 110},
                                     {19, 16, 228, 62}};
const select_template large_template{274, 278, {189, 251, 78, 20}, {7, 251, 78, 20}, {31, 67, 207, 176},
                                     {13, 14, 247, 46}};
constexpr int select_font_points = 8;

QRect place(const DialogUnits& units, const QRect& r) { return units.rect(r.x(), r.y(), r.width(), r.height()); }

}  // namespace

SelectDialog::SelectDialog(const select_request& request, QWidget* parent) : ModelessDialog(parent) {
  const select_template& t = request.large ? large_template : small_template;
  QFont font = template_font(select_font_points);
  setFont(font);
  DialogUnits units = dialog_units_for(font);
  setWindowTitle(QStringLiteral("Tovarelle BASIC"));
  setFixedSize(units.size(t.width, t.height));

  prompt_ = new QLabel(dialog_text(request.prompt), this);
  prompt_->setObjectName(QStringLiteral("prompt"));
  prompt_->setWordWrap(true);
  prompt_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  prompt_->setGeometry(place(units, t.prompt));
  prompt_->setFont(request.large ? dialog_font_large() : dialog_font_medium());

  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("list"));
  list_->setGeometry(place(units, t.list));
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list_->setFont(request.large ? dialog_font_large() : dialog_font_medium());
  for (const std::string& item : request.items) list_->addItem(dialog_text(item));

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setGeometry(place(units, t.ok));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setGeometry(place(units, t.cancel));
  if (request.large) {
    ok_->setFont(dialog_font_medium());
    cancel_->setFont(dialog_font_medium());
  }
  connect(ok_, &QPushButton::clicked, this, [this] { choose(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { choose(); });
  center_window(*this);
}

void SelectDialog::choose() {
  int row = list_->currentRow();
  if (row < 0 || list_->selectedItems().isEmpty()) return;  // nothing chosen: the dialog stays
  finish(row);
}
