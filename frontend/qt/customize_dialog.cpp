// The Customize dialog (see customize_dialog.h).
#include "frontend/qt/customize_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "frontend/help_links.h"
#include "session/paths.h"
#include "frontend/qt/dialog_units.h"
#include "frontend/qt/field_edit.h"
#include "session/size_settings.h"
#include "platform/process.h"

namespace {

struct customize_field {
  int setting;  // index in size_settings
  int edit_id;
  int x, y;     // edit position in dialog units
  const char* label;
  const char* name;  // in the range message
};

const customize_field fields[SIZE_SETTING_COUNT] = {
    {SIZE_SCREEN_SIZE, 1061, 16, 17, "Screen Size (1 or 2)", "Screen Size"},
    {SIZE_VARIABLE_NAME_SPACE, 1063, 16, 37, "Variable Name Space", "Variable Name Space"},
    {SIZE_NUM_VARIABLES, 1065, 16, 57, "Number of Variables", "Number of Variables"},
    {SIZE_ARRAY_NAME_SPACE, 1066, 16, 77, "Array Name Space", "Array Name Space"},
    {SIZE_NUMBER_OF_ARRAYS, 1067, 16, 97, "Number of Arrays", "Number of Arrays"},
    {SIZE_STRING_SPACE, 1068, 16, 117, "String Space", "String Space"},
    {SIZE_TEMP_STRING_SPACE, 1069, 16, 137, "Temporary String Space", "Temporary String Space"},
    {SIZE_NUMBER_OF_FILES, 1070, 16, 157, "Number of Files", "Number of Files"},
    {SIZE_LONG_NUMBER_SPACE, 1073, 16, 177, "Long Number Space", "Long Number Space"},
    {SIZE_TEMP_LONG_NUMBER_SPACE, 1074, 16, 197, "Temp Long Number Space", "Temp Long Number Space"},
    {SIZE_NUMBER_OF_STATEMENT_NUMBERS, 1071, 167, 77, "Number of Statement Numbers", "Number of Statement Numbers"},
    {SIZE_PROGRAM_BUFFER_SPACE, 1072, 167, 97, "Program Buffer Space", "Program Buffer Space"},
    {SIZE_NUMBER_OF_DATA_STATEMENTS, 1076, 167, 117, "Number of Data Statements", "Number of Data Statements"},
    {SIZE_CONSOLE_BUFFER_SIZE, 1077, 167, 137, "Console Buffer Size", "Console Buffer Size"},
};

}  // namespace

CustomizeDialog::CustomizeDialog(int screen_size, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Customize Tovarelle"));
  QFont font = QApplication::font();
  font.setPointSizeF(screen_size == 2 ? 10.5 : 9.0);
  setFont(font);
  DialogUnits units = dialog_units_for(font);
  setFixedSize(units.size(329, 227));

  for (int i = 0; i < SIZE_SETTING_COUNT; ++i) {
    const customize_field& f = fields[i];
    auto* edit = new FieldEdit(this);
    edit->setGeometry(units.rect(f.x, f.y, 41, 14));
    edit->setObjectName(QStringLiteral("control_%1").arg(f.edit_id));
    edit->setMaxLength(49);
    edit->escape_clears = false;
    edit->on_enter = [this, i] { validate(i, true); };
    edit->on_leave = [this, i] {
      if (enter_pressed_) {
        enter_pressed_ = false;  // Enter has already checked this field
        return;
      }
      validate(i, false);
    };
    edit->on_focus = [edit] { edit->selectAll(); };
    fields_[f.edit_id] = edit;
    auto* label = new QLabel(QString::fromLatin1(f.label), this);
    label->setGeometry(units.rect(f.x + 48, f.y + 2, 110, 10));
  }

  struct button_place { int id; const char* text; int x, y, w; };
  const button_place places[] = {{1, "Save", 272, 7, 50},
                                 {2, "Cancel", 272, 24, 50},
                                 {1020, "Help", 274, 165, 48},
                                 {1021, "Set Defaults", 274, 194, 48}};
  for (const button_place& p : places) {
    auto* button = new QPushButton(QString::fromLatin1(p.text), this);
    button->setAutoDefault(false);
    button->setGeometry(units.rect(p.x, p.y, p.w, 14));
    button->setObjectName(QStringLiteral("control_%1").arg(p.id));
    buttons_[p.id] = button;
  }
  connect(static_cast<QPushButton*>(buttons_[1]), &QPushButton::clicked, this, &CustomizeDialog::save);
  connect(static_cast<QPushButton*>(buttons_[2]), &QPushButton::clicked, this, &QDialog::reject);
  connect(static_cast<QPushButton*>(buttons_[1021]), &QPushButton::clicked, this, &CustomizeDialog::set_defaults);
  connect(static_cast<QPushButton*>(buttons_[1020]), &QPushButton::clicked, this,
          [] { process_open_document(help_size_settings_document(), interpreter_folder); });

  for (size_setting& s : size_settings) s.edited = s.current;
  show_values();
  fields_[1061]->setFocus();
  fields_[1061]->selectAll();
}

FieldEdit* CustomizeDialog::field(int edit_id) const {
  auto found = fields_.find(edit_id);
  return found == fields_.end() ? nullptr : found->second;
}

QWidget* CustomizeDialog::button(int id) const {
  auto found = buttons_.find(id);
  return found == buttons_.end() ? nullptr : found->second;
}

void CustomizeDialog::show_values() {
  for (const customize_field& f : fields) fields_[f.edit_id]->setText(QString::number(size_settings[f.setting].edited));
}

void CustomizeDialog::validate(int index, bool enter) {
  if (validating_) return;
  validating_ = true;
  const customize_field& f = fields[index];
  FieldEdit* edit = fields_[f.edit_id];
  size_setting& record = size_settings[f.setting];
  std::uint32_t value = size_setting_parse_text(edit->text().toStdString());
  if (!size_setting_in_range(record, value)) {
    show_message(this, QStringLiteral("Customize"),
                 QStringLiteral("%1 must be between %2 and %3")
                     .arg(QString::fromLatin1(f.name))
                     .arg(record.minimum)
                     .arg(record.maximum));
    edit->setText(QString::number(record.edited));
    enter_pressed_ = false;
    edit->setFocus();
    edit->selectAll();
  } else {
    record.edited = value;
    edit->setText(QString::number(value));
    if (enter) {
      enter_pressed_ = true;
      focusNextChild();
      // When the focus did not move (a last field), no leave follows.
      if (edit->hasFocus()) enter_pressed_ = false;
    }
  }
  validating_ = false;
}

void CustomizeDialog::save() {
  for (size_setting& s : size_settings) s.current = s.edited;
  // A failed save has been told in a message box of its own.
  if (reg_save_size_settings()) {
    show_message(this, QStringLiteral("Customize"),
                 QStringLiteral("Changed Values will take effect the next time you start Tovarelle."));
  }
  accept();
}

void CustomizeDialog::set_defaults() {
  size_settings_reset_edited();
  show_values();
}

void CustomizeDialog::keyPressEvent(QKeyEvent* event) {
  // Enter belongs to the fields; Esc is Cancel.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
  QDialog::keyPressEvent(event);
}
