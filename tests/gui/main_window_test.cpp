// The real main dialog, offscreen: typed lines, runs of program files, INPUT
// answered in the command box, Kill, stepping, the log file, Customize, Exit.
// The settings headers come before Qt's: a recent list's member "slots" must
// not meet Qt's keyword macro.
#include "frontend/settings.h"
#include "session/size_settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "frontend/output_buffer.h"
#include "session/paths.h"
#include "frontend/qt/customize_dialog.h"
#include "frontend/qt/field_edit.h"
#include "frontend/qt/help_dialog.h"
#include "frontend/qt/main_window.h"
#include "interpreter/host_api.h"
#include "platform/process.h"
#include "platform/settings_store.h"

namespace {

std::string test_folder;
std::vector<std::string> messages;  // message boxes shown, "title: text"

std::string read_file(const std::string& path) {
  std::ifstream in(path);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

// Runs action once condition holds, checked from the event loop (also from
// the pumps of a running program).
void when(std::function<bool()> condition, std::function<void()> action) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, condition, action] {
    if (!condition()) return;
    timer->stop();
    timer->deleteLater();
    action();
  });
  timer->start();
}

class MainWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<MainWindow> window;

  void SetUp() override {
    messages.clear();
    create_log_file = 0;
    use_working_dir = 0;
    working_folder = test_folder;
    window = std::make_unique<MainWindow>(1);
    window->show();
    window->start(false);
    QApplication::processEvents();
  }
  void TearDown() override {
    window.reset();
    QApplication::processEvents();
  }
  QPushButton* button(int id) { return qobject_cast<QPushButton*>(window->control(id)); }
  QLineEdit* edit(int id) { return qobject_cast<QLineEdit*>(window->control(id)); }
  std::string output() { return window->output_box()->toPlainText().toStdString(); }
  std::string label() { return qobject_cast<QLabel*>(window->control(IDC_COMMAND_LABEL))->text().toStdString(); }
  void type_line(const QString& line) {
    QLineEdit* box = edit(IDC_COMMAND);
    box->setFocus();
    QTest::keyClicks(box, line);
    QTest::keyClick(box, Qt::Key_Return);
  }
  void use_program(const std::string& name, const std::string& text) {
    std::ofstream(test_folder + "/" + name) << text;
    QLineEdit* source = edit(IDC_SOURCE_PROGRAM);
    source->setText(QString::fromStdString(test_folder + "/" + name));
    source->setFocus();
    QTest::keyClick(source, Qt::Key_Return);
  }
  void expect_idle() {
    EXPECT_EQ(button(IDC_RUN)->text(), "Run");
    EXPECT_TRUE(button(IDC_RUN)->isEnabled());
    EXPECT_EQ(button(IDC_RUN_STEP)->text(), "Run/Step");
    EXPECT_FALSE(button(IDC_KILL)->isEnabled());
    EXPECT_TRUE(edit(IDC_COMMAND)->isEnabled());
    EXPECT_EQ(label(), "Command:");
  }
};

TEST_F(MainWindowTest, TypedLineRunsAndShowsItsOutput) {
  EXPECT_NE(output().find("Tovarelle BASIC for Linux"), std::string::npos);
  type_line("print 6 * 7");
  EXPECT_NE(output().find("print 6 * 7\n"), std::string::npos);
  EXPECT_NE(output().find("42"), std::string::npos);
  EXPECT_TRUE(edit(IDC_COMMAND)->text().isEmpty());
  // Up brings the line back from the history.
  QTest::keyClick(edit(IDC_COMMAND), Qt::Key_Up);
  EXPECT_EQ(edit(IDC_COMMAND)->text(), "print 6 * 7");
  QTest::keyClick(edit(IDC_COMMAND), Qt::Key_Escape);
  EXPECT_TRUE(edit(IDC_COMMAND)->text().isEmpty());
  EXPECT_TRUE(window->isVisible());  // Esc in the box empties it, nothing more
  // CLS empties the box.
  type_line("cls");
  EXPECT_EQ(output(), "");
  expect_idle();
}

TEST_F(MainWindowTest, RunOfAProgramFileWithInputAnsweredInTheCommandBox) {
  use_program("gui_input.bas", "input \"How many\"; n\nprint \"twice is\"; n * 2\n");
  bool saw_waiting = false;
  when([] { return host_input_waiting(); }, [&] {
    saw_waiting = true;
    EXPECT_EQ(label(), "Data:");
    EXPECT_FALSE(button(IDC_EXIT)->isEnabled());
    EXPECT_TRUE(button(IDC_KILL)->isEnabled());
    EXPECT_FALSE(button(IDC_RUN)->isEnabled());
    type_line("21");
  });
  button(IDC_RUN)->click();
  EXPECT_TRUE(saw_waiting);
  std::string text = output();
  EXPECT_NE(text.find("----- Beginning Program Execution"), std::string::npos);
  EXPECT_NE(text.find("How many"), std::string::npos);
  EXPECT_NE(text.find("How many21\ntwice is"), std::string::npos) << text;  // the reply shows once
  EXPECT_NE(text.find("42"), std::string::npos) << text;
  expect_idle();
  EXPECT_TRUE(button(IDC_EXIT)->isEnabled());
}

TEST_F(MainWindowTest, KillStopsALoop) {
  use_program("gui_loop.bas", "i = 0\nwhile 1\ni = i + 1\nwend\n");
  bool checked = false;
  when([] { return host_is_busy(); }, [&] {
    checked = true;
    EXPECT_FALSE(button(IDC_RUN)->isEnabled());
    EXPECT_EQ(button(IDC_RUN_STEP)->text(), "Step");
    EXPECT_FALSE(edit(IDC_COMMAND)->isEnabled());
    QTest::mouseClick(button(IDC_KILL), Qt::LeftButton);
  });
  button(IDC_RUN)->click();
  EXPECT_TRUE(checked);
  EXPECT_NE(output().find("User interrupted program"), std::string::npos);
  expect_idle();
}

TEST_F(MainWindowTest, SteppingWithStepAndContinue) {
  use_program("gui_step.bas", "print \"first\"\nprint \"second\"\nprint \"third\"\n");
  int stage = 0;
  std::function<void()> next;
  when([] { return host_stepping(); }, [&] {
    EXPECT_EQ(button(IDC_RUN)->text(), "Continue");
    EXPECT_TRUE(button(IDC_RUN)->isEnabled());
    EXPECT_EQ(button(IDC_RUN_STEP)->text(), "Step");
    EXPECT_EQ(label(), "Stepping -- Command:");
    EXPECT_NE(output().find("Stepping...(click STEP or CONTINUE)"), std::string::npos);
    stage = 1;
    button(IDC_RUN_STEP)->click();  // Step
    when([] { return host_stepping() && true; }, [&] {
      if (output().find("first") == std::string::npos) return;
      stage = 2;
      button(IDC_RUN)->click();  // Continue
    });
  });
  button(IDC_RUN_STEP)->click();
  EXPECT_EQ(stage, 2);
  EXPECT_NE(output().find("third"), std::string::npos);
  expect_idle();
}

TEST_F(MainWindowTest, LogFileHoldsTheOutput) {
  QCheckBox* tick = qobject_cast<QCheckBox*>(window->control(IDC_CREATE_LOG));
  if (!tick->isChecked()) tick->click();
  ASSERT_TRUE(edit(IDC_LOG_FILE)->isEnabled());
  edit(IDC_LOG_FILE)->setText(QString::fromStdString(test_folder + "/gui.log"));
  edit(IDC_LOG_FILE)->setFocus();
  QTest::keyClick(edit(IDC_LOG_FILE), Qt::Key_Return);
  type_line("print \"logged line\"");  // opens the log, after its own echo
  type_line("print \"second\"");
  // Written out at the end of each run: readable while the log is still open.
  std::string text = read_file(test_folder + "/gui.log");
  EXPECT_EQ(text.rfind("Log File Opened\nTovarelle BASIC Log File\nDate & Time = ", 0), 0u) << text;
  EXPECT_NE(text.find("\n\nlogged line\nprint \"second\"\nsecond\n"), std::string::npos) << text;
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_NE(output().find("Log File Opened"), std::string::npos);
}

// What console mode prints for a program: the text from the run's banner up
// to the closing prompt.
std::string console_output(const std::string& program) {
  std::string command = "printf 'run %s\\n\\n\\n' '" + program + "' | '" TOV_CONSOLE_EXE "' /c";
  std::string text;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) text.append(chunk, n);
    ::pclose(pipe);
  }
  return text.substr(0, text.rfind("Press <enter> to terminate program."));
}

std::string from_banner(const std::string& text) {
  std::size_t at = text.find("----- Beginning Program Execution");
  return at == std::string::npos ? std::string() : text.substr(at);
}

// A program that prints a great deal, in pieces and whole lines: the box gets
// it in batches and keeps its newest whole lines, the log all of it; both
// hold exactly what console mode prints for it.
TEST_F(MainWindowTest, PrintHeavyProgramShowsAndLogsWhatTheConsolePrints) {
  const std::string program = test_folder + "/gui_print_heavy.bas";
  use_program("gui_print_heavy.bas",
              "for i = 1 to 3000\nprint \"line\"; i; \" of the text\";\n"
              "if i - int(i / 2) * 2 = 0 then print \" and more\";\nprint\nnext\nprint \"done\"\n");
  log_close();  // an earlier test's log
  QCheckBox* tick = qobject_cast<QCheckBox*>(window->control(IDC_CREATE_LOG));
  if (!tick->isChecked()) tick->click();
  edit(IDC_LOG_FILE)->setText(QString::fromStdString(test_folder + "/gui_print_heavy.log"));
  edit(IDC_LOG_FILE)->setFocus();
  QTest::keyClick(edit(IDC_LOG_FILE), Qt::Key_Return);
  button(IDC_RUN)->click();
  expect_idle();
  log_close();

  std::string expected = from_banner(console_output(program));
  ASSERT_GT(expected.size(), 80000u) << expected;
  std::string logged = from_banner(read_file(test_folder + "/gui_print_heavy.log"));
  EXPECT_TRUE(logged == expected) << "log and console part at byte "
                                  << std::mismatch(logged.begin(), logged.end(), expected.begin(), expected.end())
                                             .first - logged.begin();
  // The box holds the newest whole lines (at least two thirds of its 32768
  // bytes, counted with CR LF line ends).
  std::string box = output();
  ASSERT_GT(box.size(), 15000u);
  ASSERT_LE(box.size(), expected.size());
  EXPECT_EQ(expected.compare(expected.size() - box.size(), box.size(), box), 0) << box.substr(0, 200);
  EXPECT_EQ(expected[expected.size() - box.size() - 1], '\n');
}

TEST_F(MainWindowTest, ExitSavesTheSettingsAndClosesTheWindow) {
  edit(IDC_WORKING_DIR)->setText(QString::fromStdString(test_folder));
  edit(IDC_WORKING_DIR)->setFocus();
  QTest::keyClick(edit(IDC_WORKING_DIR), Qt::Key_Return);
  type_line("print 1");
  button(IDC_EXIT)->click();
  EXPECT_TRUE(window->closing());
  EXPECT_FALSE(window->isVisible());
  std::string settings = read_file(settings_store_default_path());
  EXPECT_NE(settings.find("print 1"), std::string::npos) << settings;  // the command history
  EXPECT_NE(settings.find(test_folder), std::string::npos);
}

TEST_F(MainWindowTest, ExitDuringARunningLoop) {
  use_program("gui_exit_loop.bas", "while 1\nwend\n");
  when([] { return host_is_busy(); }, [&] { button(IDC_EXIT)->click(); });
  button(IDC_RUN)->click();
  EXPECT_TRUE(window->closing());
  EXPECT_FALSE(host_is_busy());
}

TEST_F(MainWindowTest, HelpOpensOneDialogAtATime) {
  auto help_dialogs = [] {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (qobject_cast<HelpDialog*>(w) != nullptr && w->isVisible()) ++count;
    return count;
  };
  button(IDC_HELP)->click();
  button(IDC_HELP)->click();
  QApplication::processEvents();
  EXPECT_EQ(help_dialogs(), 1);
  // Without a configured address the web buttons stay disabled.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* help = qobject_cast<HelpDialog*>(w)) {
      EXPECT_FALSE(help->button(1092)->isEnabled());
    }
  }
  // CONTRIBUTE, disabled without an address, does not keep its enabled face.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* help = qobject_cast<HelpDialog*>(w)) {
      QWidget* contribute = help->button(1093);
      ASSERT_FALSE(contribute->isEnabled());
      QImage face = contribute->grab().toImage();
      EXPECT_NE(face.pixelColor(face.width() / 8, face.height() / 2), QColor(216, 180, 0));
    }
  }
  button(IDC_EXIT)->click();  // Exit closes it too
  QApplication::processEvents();
  EXPECT_EQ(help_dialogs(), 0);
}

// Customize runs without blocking the main window: only Customize and Help
// wait for it, and a line typed meanwhile runs in the main window.
TEST_F(MainWindowTest, CustomizeLeavesTheMainWindowUsable) {
  bool checked = false;
  when([] { return qobject_cast<CustomizeDialog*>(QApplication::activeWindow()) != nullptr ||
                   [] {
                     for (QWidget* w : QApplication::topLevelWidgets())
                       if (qobject_cast<CustomizeDialog*>(w) != nullptr && w->isVisible()) return true;
                     return false;
                   }(); },
       [&] {
         checked = true;
         EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
         EXPECT_FALSE(button(IDC_CUSTOMIZE)->isEnabled());
         EXPECT_FALSE(button(IDC_HELP)->isEnabled());
         EXPECT_TRUE(edit(IDC_COMMAND)->isEnabled());
         type_line("print 6 * 7");
         EXPECT_NE(output().find("42"), std::string::npos);
         for (QWidget* w : QApplication::topLevelWidgets())
           if (auto* customize = qobject_cast<CustomizeDialog*>(w)) customize->reject();
       });
  button(IDC_CUSTOMIZE)->click();
  EXPECT_TRUE(checked);
  EXPECT_TRUE(button(IDC_CUSTOMIZE)->isEnabled());
  EXPECT_TRUE(button(IDC_HELP)->isEnabled());
  // Exit while Customize is open ends both.
  when([] { return true; }, [&] { button(IDC_EXIT)->click(); });
  button(IDC_CUSTOMIZE)->click();
  EXPECT_TRUE(window->closing());
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<CustomizeDialog*>(w), nullptr);
}

// Enter in the working-folder field checks it and moves the focus on; the
// next click on Run is carried out.
TEST_F(MainWindowTest, RunClickAfterEnterInTheFolderField) {
  use_program("gui_after_folder.bas", "print \"ran after the folder\"\n");
  QLineEdit* folder = edit(IDC_WORKING_DIR);
  folder->setText(QString::fromStdString(test_folder));
  folder->setFocus();
  QTest::keyClick(folder, Qt::Key_Return);
  EXPECT_FALSE(folder->hasFocus());
  QTest::mouseClick(button(IDC_RUN), Qt::LeftButton);
  EXPECT_NE(output().find("ran after the folder"), std::string::npos) << output();
}

// Children that ended (an editor, the helper that raised it) are collected
// while the window is up.
TEST_F(MainWindowTest, EndedChildrenAreReaped) {
  long pid = 0;
  ASSERT_EQ(process_spawn({"true"}, "", &pid), 0);
  QElapsedTimer waited;
  waited.start();
  bool reaped = false;
  while (!reaped && waited.elapsed() < 3000) {
    QTest::qWait(50);
    siginfo_t info {};
    // Looked at without collecting it (WNOWAIT): only the window may reap it.
    reaped = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) < 0 && errno == ECHILD;
  }
  EXPECT_TRUE(reaped);
}

TEST_F(MainWindowTest, BothLayoutsHoldEveryControlAndSaveScreenshots) {
  // Each layout on a screen it fits as it is, the large one on 1024 x 768
  // (shrunk to fit) and on 800 x 600 (the small layout instead).
  struct row {
    int size;
    QSize room;
    int layout;
    const char* shot;
  };
  const row rows[] = {{1, QSize(1912, 1040), 1, "small"},
                      {2, QSize(1912, 1040), 2, "large"},
                      {2, QSize(1016, 728), 2, "large_1024x768"},
                      {2, QSize(792, 560), 1, "large_800x600"}};
  for (const row& r : rows) {
    SCOPED_TRACE(r.shot);
    int size = r.layout;
    MainWindow layout_window(r.size, r.room);
    EXPECT_EQ(layout_window.screen_size(), r.layout);
    EXPECT_LE(layout_window.width(), r.room.width());
    EXPECT_LE(layout_window.height(), r.room.height());
    layout_window.show();
    QApplication::processEvents();
    for (int id : {IDC_HELP, IDC_BROWSE_SOURCE, IDC_RUN, IDC_EDIT_SOURCE, IDC_BROWSE_LOG, IDC_VIEW_LOG,
                   IDC_BROWSE_WORKDIR, IDC_CREATE_LOG, IDC_USE_WORKING_DIR, IDC_LOG_GROUP, IDC_OUTPUT, IDC_KILL,
                   IDC_RUN_STEP, IDC_COMMAND_LABEL, IDC_CLEAR_SCREEN, IDC_COMMAND, IDC_EXIT, IDC_CUSTOMIZE,
                   IDC_LOG_FILE, IDC_SOURCE_PROGRAM, IDC_WORKING_DIR}) {
      QWidget* w = layout_window.control(id);
      ASSERT_NE(w, nullptr) << id;
      EXPECT_TRUE(layout_window.rect().contains(w->geometry())) << "control " << id << " in layout " << size;
    }
    // The output box shows 80 columns without a horizontal scroll.
    QPlainTextEdit* box = layout_window.output_box();
    int columns = box->viewport()->width() / QFontMetrics(box->font()).horizontalAdvance(QLatin1Char('0'));
    EXPECT_GE(columns, 80);
    QDir().mkpath(QStringLiteral(TOV_ARTEFACT_DIR));
    layout_window.grab().save(QStringLiteral(TOV_ARTEFACT_DIR "/main_dialog_%1.png").arg(QLatin1String(r.shot)));
  }
}

TEST(CustomizeDialogTest, RangeChecksOnEnterAndOnLeavingAndSave) {
  size_settings_reset_current();
  CustomizeDialog dialog(1);
  dialog.show();
  QApplication::processEvents();
  messages.clear();
  FieldEdit* names = dialog.field(1063);  // Variable Name Space
  names->setFocus();
  names->selectAll();
  QTest::keyClicks(names, "70000");
  QTest::keyClick(names, Qt::Key_Return);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Customize: Variable Name Space must be between 100 and 60000");
  EXPECT_EQ(names->text().toUInt(), size_settings[SIZE_VARIABLE_NAME_SPACE].current);
  // An empty Screen Size, left by Tab, gets the message too.
  FieldEdit* screen = dialog.field(1061);
  screen->setFocus();
  screen->clear();
  QTest::keyClick(screen, Qt::Key_Tab);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], "Customize: Screen Size must be between 1 and 2");
  // A good value, Enter: checked once, and the focus moves on.
  FieldEdit* files = dialog.field(1070);
  files->setFocus();
  files->selectAll();
  QTest::keyClicks(files, "20");
  QTest::keyClick(files, Qt::Key_Return);
  EXPECT_FALSE(files->hasFocus());
  EXPECT_EQ(messages.size(), 2u);
  qobject_cast<QPushButton*>(dialog.button(1))->click();  // Save
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[2], "Customize: Changed Values will take effect the next time you start Tovarelle.");
  EXPECT_EQ(size_settings[SIZE_NUMBER_OF_FILES].current, 20u);
  EXPECT_NE(read_file(settings_store_default_path()).find("NumberOfFiles"), std::string::npos);
  size_settings_reset_current();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // A settings file and a folder of this run's own.
  QString root = QDir::tempPath() + QStringLiteral("/tovarelle-gui-%1").arg(QCoreApplication::applicationPid());
  QDir(root).removeRecursively();
  QDir().mkpath(root + QStringLiteral("/config"));
  qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
  test_folder = root.toStdString();
  QApplication app(argc, argv);
  settings_load_at_startup();
  size_settings_reset_current();
  start_time = std::time(nullptr);
  message_box_hook = [](const QString& title, const QString& text, bool) {
    messages.push_back((title + QStringLiteral(": ") + text).toStdString());
    return false;
  };
  ::testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  QDir(root).removeRecursively();
  return result;
}
