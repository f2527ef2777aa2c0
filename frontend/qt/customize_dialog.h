// The Customize dialog: the fourteen size settings, each checked against its
// range on Enter and on leaving the field; Save writes them for the next start.
#pragma once
#include <QDialog>
#include <map>

class FieldEdit;

class CustomizeDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit CustomizeDialog(int screen_size, QWidget* parent = nullptr);
  FieldEdit* field(int edit_id) const;
  QWidget* button(int id) const;

  void save();
  void set_defaults();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void show_values();
  // Checks one field; enter: the check comes from Enter (the focus then moves on).
  void validate(int index, bool enter);

  std::map<int, FieldEdit*> fields_;  // by edit id
  std::map<int, QWidget*> buttons_;
  bool enter_pressed_ = false;
  bool validating_ = false;
};
