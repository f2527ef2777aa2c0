// The main dialog's window (see main_window.h).
#include "frontend/qt/main_window.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <cstdio>

#include "frontend/qt/customize_dialog.h"
#include "frontend/qt/dialog_units.h"
#include "frontend/qt/field_edit.h"
#include "frontend/qt/help_dialog.h"
#include "interpreter/host_api.h"
#include "platform/process.h"

namespace {

enum control_kind { EDIT, COMMAND_BOX, OUTPUT_BOX, LABEL, BUTTON, CHECK, GROUP, ICON };

struct control_layout {
  int id;
  control_kind kind;
  const char* text;
  int small[4];  // x, y, w, h in dialog units (ScreenSize 1)
  int large[4];  // ScreenSize 2
};

// Room kept for the window manager's frame around the window.
constexpr int frame_allowance_x = 8, frame_allowance_y = 40;
// Below this the large layout's texts would be smaller than the small one's.
constexpr double smallest_large_scale = 0.8;

// Ids of the frames and the icon, which nothing addresses.
constexpr int id_group_workdir = 1037, id_group_source = 1032, id_icon = 112;

// In tab order.
const control_layout main_layout[] = {
    {id_group_workdir, GROUP, "Working Directory ", {75, 7, 285, 25}, {94, 7, 403, 40}},
    {id_group_source, GROUP, "Source Program", {75, 32, 285, 30}, {94, 50, 403, 47}},
    {IDC_LOG_GROUP, GROUP, "Log File:", {74, 63, 347, 27}, {94, 104, 491, 39}},
    {id_icon, ICON, "", {27, 14, 21, 20}, {37, 23, 20, 20}},
    {IDC_USE_WORKING_DIR, CHECK, "Use Working Dir.", {85, 17, 74, 10}, {103, 23, 100, 14}},
    {IDC_WORKING_DIR, EDIT, "", {163, 15, 134, 12}, {207, 20, 197, 17}},
    {IDC_BROWSE_WORKDIR, BUTTON, "Browse", {303, 14, 50, 14}, {415, 18, 72, 20}},
    {IDC_RUN_STEP, BUTTON, "Run/Step", {367, 15, 50, 14}, {505, 18, 72, 20}},
    {IDC_HELP, BUTTON, "Help", {424, 15, 50, 14}, {590, 18, 72, 20}},
    {IDC_CUSTOMIZE, BUTTON, "Customize", {13, 43, 55, 14}, {7, 67, 80, 20}},
    {IDC_EDIT_SOURCE, BUTTON, "Edit Source", {99, 42, 50, 14}, {103, 66, 72, 20}},
    {IDC_SOURCE_PROGRAM, EDIT, "", {163, 43, 134, 12}, {207, 68, 197, 17}},
    {IDC_BROWSE_SOURCE, BUTTON, "Browse", {303, 42, 50, 14}, {415, 67, 72, 20}},
    {IDC_RUN, BUTTON, "Run", {367, 42, 50, 14}, {505, 67, 72, 20}},
    {IDC_KILL, BUTTON, "Kill Program", {424, 42, 50, 14}, {590, 67, 72, 20}},
    {IDC_CLEAR_SCREEN, BUTTON, "Clear Screen", {13, 71, 55, 15}, {7, 115, 80, 20}},
    {IDC_CREATE_LOG, CHECK, "Create Log File:", {84, 73, 70, 10}, {103, 120, 98, 13}},
    {IDC_LOG_FILE, EDIT, "", {163, 72, 134, 12}, {207, 116, 197, 17}},
    {IDC_BROWSE_LOG, BUTTON, "Browse", {303, 71, 50, 14}, {415, 115, 72, 20}},
    {IDC_VIEW_LOG, BUTTON, "View Log", {367, 71, 50, 14}, {505, 115, 72, 20}},
    {IDC_EXIT, BUTTON, "Exit", {424, 71, 50, 14}, {590, 115, 72, 20}},
    {IDC_OUTPUT, OUTPUT_BOX, "", {14, 94, 446, 161}, {7, 150, 659, 231}},
    {IDC_COMMAND_LABEL, LABEL, "Command:", {19, 265, 91, 8}, {13, 386, 156, 16}},
    {IDC_COMMAND, COMMAND_BOX, "", {20, 279, 438, 12}, {7, 404, 648, 17}},
};

QString qt_text(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string std_text(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace

MainWindow::MainWindow(int screen_size, QSize room, QWidget* parent)
    : QDialog(parent), screen_size_(screen_size == 2 ? 2 : 1) {
  setWindowTitle(QStringLiteral("Tovarelle BASIC"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  build(room);
  logic_ = new MainDialog(*this);
  qApp->installEventFilter(this);
  // Children that ended (an editor closed, the helper that raised it) are
  // collected while the window is up, not left as zombies until exit.
  auto* reaper = new QTimer(this);
  connect(reaper, &QTimer::timeout, this, [] { process_reap_children(); });
  reaper->start(1000);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  if (help_) delete help_;
  delete logic_;
}

void MainWindow::build(QSize room) {
  // Both templates are laid out in the units of an 8-point dialog font; the
  // large one gets a larger font on its controls.
  QFont dialog_font = QApplication::font();
  dialog_font.setPointSizeF(8.5);
  DialogUnits units = dialog_units_for(dialog_font);
  if (room.isEmpty()) {
    // The frame the window manager adds is not known before the window is
    // shown: leave room for a title bar and borders.
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) room = screen->availableGeometry().size() - QSize(frame_allowance_x, frame_allowance_y);
  }
  auto template_size = [&units](int layout) { return layout == 2 ? units.size(676, 436) : units.size(484, 311); };
  double scale = fit_scale(template_size(screen_size_), room);
  if (screen_size_ == 2 && scale < smallest_large_scale) {
    std::fprintf(stderr, "tovarelle: the screen (%dx%d) is too small for Screen Size 2; the window uses Screen Size 1.\n",
                 room.width() + frame_allowance_x, room.height() + frame_allowance_y);
    screen_size_ = 1;
    scale = fit_scale(template_size(1), room);
  }
  bool large = screen_size_ == 2;
  QFont control_font = dialog_font;
  if (scale < 1.0) {
    // Smaller dialog units and a font to match: the whole window shrinks.
    units.base_x *= scale;
    units.base_y *= scale;
    control_font.setPointSizeF(dialog_font.pointSizeF() * scale);
  }
  if (large) control_font.setPixelSize(qRound(16 * scale));
  setFont(control_font);
  setFixedSize(template_size(screen_size_));

  for (const control_layout& c : main_layout) {
    const int* r = large ? c.large : c.small;
    QRect geometry = units.rect(r[0], r[1], r[2], r[3]);
    QWidget* widget = nullptr;
    switch (c.kind) {
      case EDIT:
      case COMMAND_BOX: {
        FieldEdit* edit = make_edit(c.id);
        if (c.kind == COMMAND_BOX) command_ = edit;
        widget = edit;
        break;
      }
      case OUTPUT_BOX: {
        output_ = new QPlainTextEdit(this);
        output_->setReadOnly(true);
        output_->setUndoRedoEnabled(false);
        output_->setLineWrapMode(QPlainTextEdit::NoWrap);  // lines are already broken at 80 columns
        output_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        output_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        widget = output_;
        break;
      }
      case LABEL: widget = new QLabel(QString::fromLatin1(c.text), this); break;
      case BUTTON: {
        auto* button = new QPushButton(QString::fromLatin1(c.text), this);
        button->setAutoDefault(false);
        button->setDefault(false);
        int id = c.id;
        connect(button, &QPushButton::clicked, this, [this, id] { logic_->command(id); });
        widget = button;
        break;
      }
      case CHECK: {
        auto* box = new QCheckBox(QString::fromLatin1(c.text), this);
        int id = c.id;
        connect(box, &QCheckBox::clicked, this, [this, id] { logic_->command(id); });
        widget = box;
        break;
      }
      case GROUP: widget = new QGroupBox(QString::fromLatin1(c.text), this); break;
      case ICON: {
        auto* icon = new QLabel(this);
        icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(geometry.size()));
        widget = icon;
        break;
      }
    }
    widget->setGeometry(geometry);
    widget->setObjectName(QStringLiteral("control_%1").arg(c.id));
    controls_[c.id] = widget;
  }
  // The frames lie under the controls inside them, their titles on the top
  // line as in the templates (a style whose title stands above the frame
  // would leave the controls sticking out of it).
  for (int id : {id_group_workdir, id_group_source, static_cast<int>(IDC_LOG_GROUP)}) {
    controls_[id]->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; padding: 0 2px; }"));
    controls_[id]->lower();
  }
  fit_output_font();
  command_->setFont(output_->font());
}

FieldEdit* MainWindow::make_edit(int id) {
  auto* edit = new FieldEdit(this);
  edit->setMaxLength(id == IDC_COMMAND ? 255 : 259);
  if (id == IDC_COMMAND) {
    edit->on_enter = [this] { logic_->typed_line(); };
  } else {
    edit->on_enter = [this, id] { logic_->edit_entered(id); };
    edit->on_leave = [this, id] {
      if (!closing_) logic_->edit_left(id);
    };
  }
  edit->on_focus = [this, id] {
    if (!closing_) logic_->edit_focused(id);
  };
  edit->on_browse = [this, id](int direction) { return logic_->browse_recent(id, direction); };
  return edit;
}

// The largest fixed-pitch font that shows 80 columns in the output box.
void MainWindow::fit_output_font() {
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setStyleHint(QFont::Monospace);
  if (screen_size_ == 2) fixed.setWeight(QFont::DemiBold);
  int room = output_->width() - output_->verticalScrollBar()->sizeHint().width() - 2 * output_->frameWidth() - 8;
  int chosen = 8;
  for (int px = 8; px <= 28; ++px) {
    fixed.setPixelSize(px);
    if (QFontMetrics(fixed).horizontalAdvance(QLatin1Char('0')) * 80 > room) break;
    chosen = px;
  }
  fixed.setPixelSize(chosen);
  output_->setFont(fixed);
}

void MainWindow::start(bool autorun) {
  logic_->init(autorun);
}

QWidget* MainWindow::control(int id) const {
  // The statement loop addresses the same control again and again (Run/Step
  // after every statement); the table never changes once built.
  if (id == last_id_) return last_control_;
  auto found = controls_.find(id);
  if (found == controls_.end()) return nullptr;
  last_id_ = id;
  last_control_ = found->second;
  return found->second;
}

// ---------------------------------------------------------------- controls

void MainWindow::set_text(int id, const std::string& value) {
  QWidget* w = control(id);
  QString text = qt_text(value);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(text);
  else if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(text);
  else if (auto* label = qobject_cast<QLabel*>(w)) label->setText(text);
  else if (auto* group = qobject_cast<QGroupBox*>(w)) group->setTitle(text);
}

std::string MainWindow::text(int id) {
  QWidget* w = control(id);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return std_text(edit->text());
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return std_text(button->text());
  if (auto* label = qobject_cast<QLabel*>(w)) return std_text(label->text());
  if (w == output_) return std_text(output_->toPlainText());
  return {};
}

void MainWindow::enable(int id, bool enabled) {
  QWidget* w = control(id);
  if (w == nullptr) return;
  // Already so: setEnabled would change nothing (it costs more than this
  // test, and the statement loop enables Run/Step after every statement). A
  // control shown enabled was not disabled by itself; one shown disabled
  // may only be disabled through a disabled parent, so its own flag decides.
  if (enabled ? w->isEnabled() : w->testAttribute(Qt::WA_ForceDisabled)) return;
  w->setEnabled(enabled);
}

void MainWindow::check(int id, bool on) {
  if (auto* box = qobject_cast<QCheckBox*>(control(id))) box->setChecked(on);
}

bool MainWindow::checked(int id) {
  auto* box = qobject_cast<QCheckBox*>(control(id));
  return box != nullptr && box->isChecked();
}

void MainWindow::focus(int id) {
  if (QWidget* w = control(id)) w->setFocus(Qt::OtherFocusReason);
}

void MainWindow::focus_next(int id) {
  QWidget* from = control(id);
  if (from == nullptr) return;
  for (QWidget* next = from->nextInFocusChain(); next != nullptr && next != from; next = next->nextInFocusChain()) {
    if (next->window() != this || !next->isEnabled() || !next->isVisibleTo(this) ||
        (next->focusPolicy() & Qt::TabFocus) == 0)
      continue;
    if (auto* edit = qobject_cast<QLineEdit*>(next)) edit->selectAll();
    next->setFocus(Qt::TabFocusReason);
    return;
  }
}

void MainWindow::select_all(int id) {
  if (auto* edit = qobject_cast<QLineEdit*>(control(id))) edit->selectAll();
}

void MainWindow::set_reply_colour(bool waiting) {
  if (waiting == reply_colour_) return;
  reply_colour_ = waiting;
  command_->setStyleSheet(waiting ? QStringLiteral("QLineEdit { background: rgb(255, 200, 200); }") : QString());
}

void MainWindow::output_added(const std::string& display_text) {
  QTextCursor cursor(output_->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(qt_text(display_text));
  output_->verticalScrollBar()->setValue(output_->verticalScrollBar()->maximum());
}

void MainWindow::output_replaced(const std::string& display_text) {
  output_->setPlainText(qt_text(display_text));
  output_->verticalScrollBar()->setValue(output_->verticalScrollBar()->maximum());
}

void MainWindow::message(const std::string& text, const std::string& title) {
  show_message(this, qt_text(title), qt_text(text));
}

bool MainWindow::ask_yes_no(const std::string& text, const std::string& title) {
  return ::ask_yes_no(this, qt_text(title), qt_text(text));
}

bool MainWindow::choose_path(int kind, const std::string& title, const std::string& start, std::string& chosen) {
  QString result;
  if (kind == CHOOSE_FOLDER)
    result = QFileDialog::getExistingDirectory(this, qt_text(title), qt_text(start));
  else if (kind == CHOOSE_SAVE_FILE)
    result = QFileDialog::getSaveFileName(this, qt_text(title), qt_text(start), QStringLiteral("All files (*)"),
                                          nullptr, QFileDialog::DontConfirmOverwrite);
  else
    result = QFileDialog::getOpenFileName(this, qt_text(title), qt_text(start),
                                          QStringLiteral("BASIC programs (*.bas *.txt);;All files (*)"));
  if (result.isEmpty()) return false;
  chosen = std_text(result);
  return true;
}

void MainWindow::post(std::function<void()> call) {
  QMetaObject::invokeMethod(this, [call = std::move(call)] { call(); }, Qt::QueuedConnection);
}

bool MainWindow::pump() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return !closing_;
}

bool MainWindow::wait(int timeout_ms) {
  // Blocks in the event dispatcher until an event arrives; a timer ends the
  // wait when nothing comes in time.
  QTimer timer;
  if (timeout_ms >= 0) {
    timer.setSingleShot(true);
    timer.start(timeout_ms);
  }
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  return !closing_;
}

// Customize runs until it ends, with no owner and without blocking the main
// window: only the Customize and Help buttons wait for it.
void MainWindow::open_customize() {
  if (customize_) return;
  if (QWidget* help_button = control(IDC_HELP)) help_button->setEnabled(false);
  auto* dialog = new CustomizeDialog(screen_size_, nullptr);
  customize_ = dialog;
  QEventLoop loop;
  connect(dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
  loop.exec();
  delete dialog;
  if (QWidget* help_button = control(IDC_HELP)) help_button->setEnabled(true);
}

void MainWindow::open_help() {
  if (help_) {
    help_->showNormal();
    help_->raise();
    help_->activateWindow();
    return;
  }
  help_ = new HelpDialog(screen_size_, nullptr);
  help_->setAttribute(Qt::WA_DeleteOnClose);
  help_->show();
}

void MainWindow::minimize() { showMinimized(); }

void MainWindow::restore_and_raise() {
  showNormal();
  raise();
  activateWindow();
}

void MainWindow::end_dialog() {
  closing_ = true;
  if (help_) help_->close();
  if (customize_) customize_->done(2);
  hide();
  done(2);
  QCoreApplication::quit();
}

// ---------------------------------------------------------------- events

void MainWindow::closeEvent(QCloseEvent* event) {
  // The window manager's close and the close box take the Exit road.
  if (!closing_) logic_->exit_road();
  event->accept();
}

void MainWindow::reject() {
  if (!closing_) logic_->exit_road();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && output_ != nullptr && watched == output_ && !closing_)
    logic_->edit_focused(IDC_OUTPUT);
  // While INKEY$ waits, a typed character goes to the program, wherever the
  // focus is in this window.
  if (event->type() == QEvent::KeyPress && host_key_waiting()) {
    auto* key = static_cast<QKeyEvent*>(event);
    QWidget* target = qobject_cast<QWidget*>(watched);
    if (target != nullptr && target->window() == this) {
      QByteArray typed = key->text().toLatin1();
      unsigned char c = typed.isEmpty() ? 0 : static_cast<unsigned char>(typed[0]);
      if (c != 0 && logic_->key_typed(c)) return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
