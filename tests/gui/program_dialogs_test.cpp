// The Qt program dialogs offscreen: each dialog built, filled and its buttons
// pressed; the template and form positions; and whole calls from a program
// through the installed Qt dialog port.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListView>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frontend/qt/dialog_units.h"
#include "frontend/qt/dialogs/choosers.h"
#include "frontend/qt/dialogs/input_form_dialog.h"
#include "frontend/qt/dialogs/message_box_dialog.h"
#include "frontend/qt/dialogs/program_dialog_common.h"
#include "frontend/qt/dialogs/qt_dialog_port.h"
#include "frontend/qt/dialogs/select_dialog.h"
#include "frontend/qt/dialogs/serial_port_dialog.h"
#include "interpreter/expression.h"
#include "interpreter/host_api.h"
#include "interpreter/program_dialogs.h"
#include "interpreter/run_state.h"
#include "ports/frontend_port.h"

namespace {

void press_escape(QWidget* widget) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

// Runs step once a modal dialog has started its own event loop (looked for
// every 20 ms; the interpreter may pump events before it opens the dialog).
void when_modal(std::function<void()> step, int tries = 250) {
  QTimer::singleShot(20, [step = std::move(step), tries]() mutable {
    if (QApplication::activeModalWidget() || tries == 0) step();
    else when_modal(std::move(step), tries - 1);
  });
}

TEST(ProgramDialogsQt, MessageBoxFollowsItsTemplatesAndGivesTheButton) {
  message_box_request request{"Continue?", {"Yes", "No", "Later"}, false};
  MessageBoxDialog box(request, nullptr);
  box.show();
  DialogUnits units = dialog_units_for(template_font(12));
  EXPECT_EQ(box.size(), units.size(274, 90));
  ASSERT_EQ(box.buttons().size(), 3u);
  EXPECT_EQ(box.buttons()[0]->geometry(), units.rect(17, 54, 66, 21));
  EXPECT_EQ(box.buttons()[2]->geometry(), units.rect(181, 54, 66, 21));
  EXPECT_EQ(box.message()->geometry(), units.rect(25, 13, 228, 30));
  EXPECT_EQ(box.buttons()[1]->text(), "No");
  EXPECT_EQ(box.answer(), dialog_still_open);
  box.buttons()[1]->click();
  EXPECT_EQ(box.answer(), 2);
  EXPECT_FALSE(box.isVisible());

  message_box_request one{"Done", {"OK"}, true};
  MessageBoxDialog large(one, nullptr);
  large.show();
  DialogUnits large_units = dialog_units_for(template_font(14));
  EXPECT_EQ(large.size(), large_units.size(245, 103));
  EXPECT_EQ(large.buttons()[0]->geometry(), large_units.rect(80, 56, 83, 28));
  press_escape(&large);
  EXPECT_EQ(large.answer(), dialog_cancelled);
}

TEST(ProgramDialogsQt, MessageBoxWidensButtonsForLongCaptions) {
  const std::string caption(20, 'W');  // the longest caption a program can give
  for (bool large : {false, true}) {
    for (std::size_t count = 1; count <= 3; ++count) {
      message_box_request request{"A question with long answers", std::vector<std::string>(count, caption), large};
      MessageBoxDialog box(request, nullptr);
      box.show();
      const std::string what = (large ? "large, " : "small, ") + std::to_string(count) + " buttons";
      const auto& buttons = box.buttons();
      ASSERT_EQ(buttons.size(), count);
      for (std::size_t i = 0; i < count; ++i) {
        QPushButton* b = buttons[i];
        // The caption fits its button, the button the dialog, and no button another.
        EXPECT_GE(b->width(), b->sizeHint().width()) << what;
        EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text())) << what;
        EXPECT_GE(b->x(), 0) << what;
        EXPECT_LE(b->geometry().right(), box.width() - 1) << what;
        if (i > 0) {
          EXPECT_GT(b->x(), buttons[i - 1]->geometry().right()) << what;
        }
      }
      EXPECT_LE(box.message()->geometry().right(), box.width() - 1) << what;
      if (!large && count == 3) box.grab().save(QStringLiteral(TOV_ARTEFACT_DIR "/messagebox_long_captions.png"));
    }
  }
}

TEST(ProgramDialogsQt, SelectNeedsAChoiceAndGivesItsPosition) {
  select_request request{"Pick a fruit", {"apple", "cherry", "date"}, false};
  SelectDialog select(request, nullptr);
  select.show();
  DialogUnits units = dialog_units_for(template_font(8));
  EXPECT_EQ(select.list()->geometry(), units.rect(51, 83, 147, 110));
  EXPECT_EQ(select.prompt()->text(), "Pick a fruit");
  ASSERT_EQ(select.list()->count(), 3);
  select.ok_button()->click();  // nothing chosen yet: the list stays
  EXPECT_EQ(select.answer(), dialog_still_open);
  select.list()->setCurrentRow(1);
  select.ok_button()->click();
  EXPECT_EQ(select.answer(), 1);

  SelectDialog again(request, nullptr);
  again.show();
  again.list()->setCurrentRow(2);
  emit again.list()->itemDoubleClicked(again.list()->item(2));
  EXPECT_EQ(again.answer(), 2);

  select_request large_request{"p", {"x"}, true};
  SelectDialog cancelled(large_request, nullptr);
  cancelled.show();
  EXPECT_EQ(cancelled.list()->font().pixelSize(), 22);
  EXPECT_EQ(cancelled.ok_button()->font().pixelSize(), 18);
  cancelled.cancel_button()->click();
  EXPECT_EQ(cancelled.answer(), dialog_cancelled);
}

// Refuses the first press at the second field, then accepts.
class RefuseOnce final : public FormChecker {
 public:
  int presses = 0;
  std::vector<std::string> seen;
  form_check check(const dialog_form& form, int) override {
    ++presses;
    seen.clear();
    for (const form_element& e : form.elements) seen.push_back(e.text);
    form_check c;
    if (presses == 1) {
      c.status = 1;
      c.element = 1;
      c.title = "Invalid Numeric Format";
      c.message = "The data in field \"b\" \ncannot be converted to a number.";
    }
    return c;
  }
};

std::vector<form_item_spec> two_fields_and_button() {
  form_item_spec a, b, go;
  a.label = a.target = "a";
  b.label = b.target = "b";
  b.row = 1;
  go.is_button = true;
  go.button_number = 4;
  go.label = "Go";
  go.row = 1;
  go.start = 60;
  go.width = 40;
  return {a, b, go};
}

TEST(ProgramDialogsQt, InputFormPlacesControlsAndKeepsTheFormOpenOnARefusal) {
  dialog_form form;
  int failed = 0;
  ASSERT_EQ(inputdialog_layout(two_fields_and_button(), false, form, failed), 0);
  form.title = "Enter Data";
  form.elements[0].text = "12";
  RefuseOnce checker;
  InputFormDialog dialog(form, checker, nullptr);
  QString refused;
  dialog.show_refusal = [&](const QString& title, const QString& message) { refused = title + "|" + message; };
  dialog.show();
  QApplication::processEvents();
  EXPECT_EQ(dialog.windowTitle(), "Enter Data");
  EXPECT_EQ(dialog.size(), QSize(form.width, form.height));
  EXPECT_EQ(dialog.ok_button(), nullptr);  // the form has a button of its own
  EXPECT_EQ(dialog.field(0)->geometry(), QRect(7, 41, 400, 30));
  EXPECT_EQ(dialog.label(0)->geometry(), QRect(7, 20, 400, 20));
  EXPECT_EQ(dialog.field(1)->geometry(), QRect(7, 96, 232, 30));  // shortened to 58 %
  EXPECT_EQ(dialog.form_button(2)->geometry(), QRect(247, 96, 160, 30));
  EXPECT_EQ(dialog.field(0)->text(), "12");

  dialog.field(1)->setText("x7");
  dialog.form_button(2)->click();
  EXPECT_EQ(checker.presses, 1);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(refused.startsWith("Invalid Numeric Format|The data in field \"b\""));
  EXPECT_TRUE(dialog.field(1)->hasSelectedText());
  EXPECT_EQ(dialog.field(1)->selectedText(), "x7");

  dialog.field(1)->setText("7");
  dialog.form_button(2)->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.answer(), 4);
  EXPECT_EQ(checker.seen, (std::vector<std::string>{"12", "7", ""}));
}

TEST(ProgramDialogsQt, InputFormOkButtonLargeFontsAndCancel) {
  form_item_spec a;
  a.label = a.target = "value";
  dialog_form form;
  int failed = 0;
  ASSERT_EQ(inputdialog_layout({a}, true, form, failed), 0);
  RefuseOnce checker;
  checker.presses = 1;  // accept at once
  InputFormDialog dialog(form, checker, nullptr);
  dialog.show();
  ASSERT_NE(dialog.ok_button(), nullptr);
  EXPECT_EQ(dialog.ok_button()->geometry(), QRect(form.ok_rect.x, form.ok_rect.y, 125, 38));
  EXPECT_EQ(dialog.field(0)->font().pixelSize(), 18);
  dialog.field(0)->setText("3.5");
  dialog.ok_button()->click();
  EXPECT_EQ(dialog.answer(), 0);
  EXPECT_EQ(form.elements[0].text, "3.5");

  InputFormDialog cancelled(form, checker, nullptr);
  cancelled.show();
  press_escape(&cancelled);
  EXPECT_EQ(cancelled.answer(), dialog_cancelled);
}

int rescan_two(std::vector<std::string>& ports) {
  ports = {"/dev/ttyUSB0", "/dev/ttyUSB1"};
  return 0;
}
int rescan_none(std::vector<std::string>& ports) {
  ports.clear();
  return -1;
}

TEST(ProgramDialogsQt, SerialPortChooserRescansAndChooses) {
  serial_port_request request{"Which port?", {"/dev/ttyS0"}, rescan_two, false};
  SerialPortDialog dialog(request, nullptr);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "Select COMM Port");
  EXPECT_EQ(dialog.prompt()->text(), "Which port?");
  ASSERT_EQ(dialog.list()->count(), 1);
  EXPECT_EQ(dialog.list()->currentRow(), 0);
  dialog.rescan_button()->click();
  ASSERT_EQ(dialog.list()->count(), 2);
  dialog.list()->setCurrentRow(1);
  dialog.ok_button()->click();
  EXPECT_EQ(dialog.answer(), 1);
  EXPECT_EQ(request.ports[1], "/dev/ttyUSB1");

  serial_port_request empty{"p", {}, rescan_none, true};
  SerialPortDialog none(empty, nullptr);
  none.show();
  EXPECT_EQ(none.windowTitle(), "Select Comm Port");
  none.ok_button()->click();  // nothing to choose: a cancel
  EXPECT_EQ(none.answer(), dialog_cancelled);
  SerialPortDialog failing(request, nullptr);
  request.rescan = rescan_none;
  failing.show();
  failing.rescan_button()->click();
  EXPECT_EQ(failing.answer(), dialog_cancelled);
  EXPECT_FALSE(failing.isVisible());
}

TEST(ProgramDialogsQt, FileFolderAndFontChoosers) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile file(dir.filePath("data.txt"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  const std::string folder = dir.path().toStdString();

  std::unique_ptr<QFileDialog> open(make_file_dialog(nullptr, false, "Open data", folder, ""));
  open->setOption(QFileDialog::DontUseNativeDialog, true);
  EXPECT_EQ(open->windowTitle(), "Open data");
  EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
  open->selectFile(dir.filePath("data.txt"));
  std::string chosen_folder, chosen_name;
  ASSERT_TRUE(file_dialog_choice(*open, chosen_folder, chosen_name));
  EXPECT_EQ(chosen_folder, folder);
  EXPECT_EQ(chosen_name, "data.txt");

  std::unique_ptr<QFileDialog> save(make_file_dialog(nullptr, true, "Save", folder, "new.txt"));
  EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_TRUE(save->testOption(QFileDialog::DontConfirmOverwrite));
  std::unique_ptr<QFileDialog> folders(make_folder_dialog(nullptr, "Folder", folder));
  EXPECT_EQ(folders->fileMode(), QFileDialog::Directory);
  folders->selectFile(dir.path());
  std::string picked;
  ASSERT_TRUE(folder_dialog_choice(*folders, picked));
  EXPECT_EQ(picked, folder);

  std::unique_ptr<QFontDialog> fonts(make_font_dialog(nullptr));
  EXPECT_TRUE(fonts->testOption(QFontDialog::ScalableFonts));
  // A face, a style and a size: no writing system, no strikeout or underline.
  fonts->show();
  for (QWidget* w : fonts->findChildren<QWidget*>()) {
    if (!w->isVisible()) continue;
    EXPECT_EQ(qobject_cast<QComboBox*>(w), nullptr) << "a writing-system choice is shown";
    EXPECT_EQ(qobject_cast<QCheckBox*>(w), nullptr) << "an effect is offered: " << w->property("text").toString().toStdString();
  }
  int lists = 0;
  for (QListView* list : fonts->findChildren<QListView*>()) lists += list->isVisible() ? 1 : 0;
  EXPECT_EQ(lists, 3);  // face, style, size
  fonts->grab().save(QStringLiteral(TOV_ARTEFACT_DIR "/choosefont.png"));
  fonts->hide();
  QFont font("DejaVu Sans", 14);
  font.setBold(true);
  font.setItalic(true);
  dialog_font_choice choice = font_dialog_choice(font);
  EXPECT_EQ(choice.point_size, 14);
  EXPECT_EQ(choice.weight, 700);
  EXPECT_EQ(choice.italic, 1);
  EXPECT_FALSE(choice.face.empty());
}

// ---------------------------------------------------------------- whole calls

// A front-end port whose waits run the Qt event loop, as the desktop's does.
class QtPumpPort final : public FrontendPort {
 public:
  std::string output;
  void print_text(std::string_view text) override { output.append(text); }
  void set_control_text(int, std::string_view) override {}
  void enable_control(int, bool) override {}
  void check_control(int, bool) override {}
  void focus_control(int) override {}
  bool pump_messages() override {
    QApplication::processEvents();
    return true;
  }
  bool wait_for_event(int timeout_ms) override {
    QApplication::processEvents(QEventLoop::AllEvents, timeout_ms);
    return true;
  }
  void run_finished() override {}
};

class ProgramDialogsRun : public ::testing::Test {
 protected:
  QWidget owner;
  QtPumpPort port;
  void SetUp() override {
    static bool started = false;
    if (!started) {
      ASSERT_EQ(host_init(), 0);
    }
    started = true;
    install_frontend_port(&port);
    install_qt_dialogs(&owner);
    console_mode = 0;
    owner.show();
  }
  void TearDown() override {
    install_qt_dialogs(nullptr);
    install_frontend_port(nullptr);
  }
  template <class Dialog>
  static Dialog* open_dialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = dynamic_cast<Dialog*>(w); d && d->isVisible()) return d;
    return nullptr;
  }
};

TEST_F(ProgramDialogsRun, MessageBoxAndSelectWaitWithTheWindowAlive) {
  QTimer::singleShot(50, [] {
    if (auto* box = open_dialog<MessageBoxDialog>()) box->buttons()[1]->click();
  });
  ASSERT_EQ(evaluate_expression_text("messagebox(\"Go on?\", \"Yes\", \"No\")"), 2) << port.output;
  EXPECT_EQ(double_accumulator, 2);

  ASSERT_GE(host_run_typed_line("DIM s$(3): s$(0) = \"x\": s$(2) = \"z\""), 0) << port.output;
  QTimer::singleShot(50, [] {
    if (auto* list = open_dialog<SelectDialog>()) {
      list->list()->setCurrentRow(1);
      list->ok_button()->click();
    }
  });
  ASSERT_EQ(evaluate_expression_text("select(\"Pick\", s$)"), 2) << port.output;
  EXPECT_EQ(double_accumulator, 2);

  // Kill while the box is open closes it and ends with error 106.
  QTimer::singleShot(50, [] { host_request_kill(); });
  EXPECT_LT(evaluate_expression_text("messagebox(\"Wait\", \"OK\")"), 0);
  EXPECT_NE(port.output.find("ERROR - User interrupted program"), std::string::npos) << port.output;
  QApplication::processEvents();
  EXPECT_EQ(open_dialog<MessageBoxDialog>(), nullptr);
  kill_requested = 0;
  program_ended = 0;
}

TEST_F(ProgramDialogsRun, InputDialogStatementIsModalAndAssigns) {
  when_modal([] {
    auto* form = dynamic_cast<InputFormDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    form->field(0)->setText("41");
    form->field(1)->setText("typed text");
    form->ok_button()->click();
  });
  ASSERT_GE(host_run_typed_line("INPUTDIALOG \"Data\"; a, b$"), 0) << port.output;
  EXPECT_EQ(evaluate_expression_text("a + 1"), 2);
  EXPECT_EQ(double_accumulator, 42);
  EXPECT_EQ(evaluate_expression_text("b$"), 3);
  EXPECT_STREQ(string_accumulator, "typed text");

  when_modal([] {
    if (auto* form = dynamic_cast<InputFormDialog*>(QApplication::activeModalWidget())) {
      EXPECT_EQ(form->field(0)->text(), "41");  // UPDATEDIALOG shows the value
      form->reject();
    }
  });
  port.output.clear();
  host_run_typed_line("UPDATEDIALOG a");
  EXPECT_NE(port.output.find("ERROR - User cancelled INPUTDIALOG box."), std::string::npos) << port.output;
}

}  // namespace
