// The graph window on Qt (see graph_window_qt.h).
#include "frontend/qt/graph_window_qt.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMoveEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

#include "frontend/qt/draw/qt_draw_device.h"
#include "frontend/qt/field_edit.h"
#include "frontend/qt/graph_export_port_qt.h"
#include "graph/graph_state.h"
#include "graph/graph_statement.h"
#include "graph/graph_window.h"
#include "graph/graph_window_core.h"

namespace {

// How long the window manager has to frame a new window, and to answer a
// placement before the size it reports counts as its own.
constexpr int window_frame_wait_ms = 2000;
constexpr int placement_answer_ms = 500;

QString qt_text(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

int modifier_bits(Qt::KeyboardModifiers modifiers) {
  return ((modifiers & Qt::ShiftModifier) ? graph_shift : 0) | ((modifiers & Qt::ControlModifier) ? graph_ctrl : 0);
}

struct menu_entry {
  int item;
  const char* text;
  bool checkable;
};

const menu_entry file_menu[] = {
    {graph_menu_print, "&Print", false},   {graph_menu_metafile, "&Metafile", false},
    {graph_menu_jpeg, "&JPEG", false},     {graph_menu_close, "&Close", false},
    {graph_menu_pause, "Pa&use", false},   {graph_menu_restart, "&Restart", false},
};
const menu_entry options_menu[] = {
    {graph_menu_grid, "&Grid", true},          {graph_menu_border, "&Border", true},
    {graph_menu_axes, "Axes and Numbers", true}, {graph_menu_more_grid, "More Grid Lines", false},
    {graph_menu_fewer_grid, "Fewer Grid Lines", false}, {graph_menu_show_coordinates, "Show Coordinates", true},
    {graph_menu_crosshairs, "Cross Hairs", true},
};
const menu_entry zoom_menu[] = {
    {graph_menu_zoom_in_50, "Zoom In   50 %", false}, {graph_menu_zoom_in_10, "Zoom In   10 %", false},
    {graph_menu_zoom_in_3, "Zoom In     3 %", false}, {graph_menu_zoom_out_3, "Zoom Out   3 %", false},
    {graph_menu_zoom_out_10, "Zoom Out 10 %", false}, {graph_menu_zoom_out_50, "Zoom Out 50 %", false},
    {graph_menu_auto_scale, "Auto Scale", false},
};

}  // namespace

// ---------------------------------------------------------------- canvas

GraphCanvas::GraphCanvas(GraphWindowQt& window, QtFontEngine& fonts)
    : QWidget(&window), window_(window), fonts_(fonts) {
  setObjectName(QStringLiteral("graph_canvas"));
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
}

void GraphCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (graph.graph_paint_busy) {
    // A paint already draws further up the stack: this one comes later.
    QTimer::singleShot(0, this, [this] { update(); });
    return;
  }
  painter.fillRect(rect(), Qt::white);  // the class background; a failed render leaves it
  if (!graph_window_is_open()) return;
  const int w = width(), h = height();
  if (w < 2 || h < 2) return;
  const bool changed = graph.graph_changed != 0;
  QtPainterDevice device(painter, w, h, (w - 1) / graph.graph_width, (h - 1) / graph.graph_height, fonts_);
  window_.host().painting = true;
  graph_paint(device);
  window_.host().painting = false;
  if (changed && !window_.isActiveWindow()) {
    // A running program's change brings the graph to the front.
    window_.raise();
    window_.activateWindow();
  }
}

void GraphCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  window_.canvas_resized();
}

void GraphCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  graph_left_press(p.x(), p.y(), modifier_bits(event->modifiers()));
}

void GraphCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  const bool left = (event->buttons() & Qt::LeftButton) != 0;
  if (graph.show_coordinates && !left) window_.update_coordinates(p.x(), p.y());
  graph_mouse_move(p.x(), p.y(), left);
}

void GraphCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  graph_left_release(p.x(), p.y(), modifier_bits(event->modifiers()));
}

void GraphCanvas::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta != 0) graph_wheel(delta);
  event->accept();
}

void GraphCanvas::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up: graph_key_pressed(graph_key_up); return;
    case Qt::Key_Down: graph_key_pressed(graph_key_down); return;
    case Qt::Key_Left: graph_key_pressed(graph_key_left); return;
    case Qt::Key_Right: graph_key_pressed(graph_key_right); return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (window_.host().links().focus_command_box) window_.host().links().focus_command_box();
      return;
    default: break;
  }
  for (char32_t ch : event->text().toUcs4()) graph_character_typed(ch);
}

bool GraphCanvas::focusNextPrevChild(bool) { return false; }  // Tab is the graph's own key

// ---------------------------------------------------------------- coordinates dialog

GraphCoordinatesDialog::GraphCoordinatesDialog(int screen_size, QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Data Coordinates"));
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_DeleteOnClose);
  auto* grid = new QGridLayout(this);
  x_value_ = new QLabel(QStringLiteral("(x-coordinate)"), this);
  y_value_ = new QLabel(QStringLiteral("(y-coordinate)"), this);
  x_value_->setObjectName(QStringLiteral("control_1101"));
  y_value_->setObjectName(QStringLiteral("control_1099"));
  QFont font = QApplication::font();
  if (screen_size == 2) font.setPixelSize(16);
  setFont(font);
  QFont fixed = font;
  fixed.setFamily(QStringLiteral("Monospace"));
  fixed.setStyleHint(QFont::Monospace);
  x_value_->setFont(fixed);
  y_value_->setFont(fixed);
  grid->addWidget(new QLabel(QStringLiteral("X = "), this), 0, 0);
  grid->addWidget(x_value_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Y = "), this), 1, 0);
  grid->addWidget(y_value_, 1, 1);
  x_value_->setMinimumWidth(x_value_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 24);
  adjustSize();
  place_at_screen_edge();
}

void GraphCoordinatesDialog::place_at_screen_edge() {
  QWidget* owner = parentWidget();
  if (QScreen* screen = owner != nullptr ? owner->screen() : QApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    const int y = (area.height() - frameGeometry().height()) / 2;
    move(area.x() + area.width() - frameGeometry().width(), area.y() + (y < 0 ? 0 : y));
  }
}

void GraphCoordinatesDialog::show_values(const QString& x, const QString& y) {
  x_value_->setText(x);
  y_value_->setText(y);
  // A date-time value is longer than a number: the dialog grows to it (and
  // keeps its width afterwards, so that it does not jump as the mouse moves).
  const int needed = std::max(x_value_->sizeHint().width(), y_value_->sizeHint().width());
  if (needed > x_value_->width() || needed > y_value_->width()) {
    x_value_->setMinimumWidth(needed);
    adjustSize();
    place_at_screen_edge();
  }
}
QString GraphCoordinatesDialog::x_text() const { return x_value_->text(); }
QString GraphCoordinatesDialog::y_text() const { return y_value_->text(); }

void GraphCoordinatesDialog::reject() {
  graph.show_coordinates = 0;
  graph_host_port().check_menu_item(graph_menu_show_coordinates, false);
  QDialog::reject();
}

// ---------------------------------------------------------------- window

GraphWindowQt::GraphWindowQt(QtGraphHost& host, QtFontEngine& fonts) : QMainWindow(nullptr), host_(host) {
  setWindowTitle(QStringLiteral("Tovarelle Graph"));
  setObjectName(QStringLiteral("graph_window"));
  canvas_ = new GraphCanvas(*this, fonts);
  setCentralWidget(canvas_);
  build_menus();
  size_check_ = new QTimer(this);
  size_check_->setSingleShot(true);
  size_check_->setInterval(30);
  connect(size_check_, &QTimer::timeout, this, &GraphWindowQt::check_size);
}

GraphWindowQt::~GraphWindowQt() {
  if (coordinates_) delete coordinates_;
}

void GraphWindowQt::build_menus() {
  auto add = [this](const QString& title, const menu_entry* entries, std::size_t count) {
    QMenu* menu = menuBar()->addMenu(title);
    for (std::size_t i = 0; i < count; ++i) {
      const menu_entry& e = entries[i];
      QAction* action = menu->addAction(QString::fromLatin1(e.text));
      action->setCheckable(e.checkable);
      action->setObjectName(QStringLiteral("menu_%1").arg(e.item));
      const int item = e.item;
      // Checkable items keep the tick the graph sets, not Qt's own toggle.
      connect(action, &QAction::triggered, this, [this, item, action] {
        if (action->isCheckable()) action->setChecked(!action->isChecked());
        menu_command(item);
      });
      actions_[e.item] = action;
    }
  };
  add(QStringLiteral("&File"), file_menu, std::size(file_menu));
  add(QStringLiteral("&Options"), options_menu, std::size(options_menu));
  add(QStringLiteral("Zoom"), zoom_menu, std::size(zoom_menu));
  for (int item : {graph_menu_grid, graph_menu_border, graph_menu_axes})
    actions_[item]->setChecked(true);
}

QAction* GraphWindowQt::menu_action(int item) const {
  auto found = actions_.find(item);
  return found == actions_.end() ? nullptr : found->second;
}

void GraphWindowQt::menu_command(int item) {
  const GraphWindowLinks& links = host_.links();
  switch (item) {
    case graph_menu_pause:
      if (links.pause) links.pause();
      return;
    case graph_menu_restart:
      if (links.restart) links.restart();
      return;
    case graph_menu_show_coordinates: toggle_coordinates(); return;
    default: graph_menu_command(item); return;
  }
}

QSize GraphWindowQt::frame_size() const {
  // The decorations are what the window manager reports once it has framed
  // the window; before that (and with no window manager) there are none.
  const QMargins decorations = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
  const QSize inner = size() - canvas_->size();  // the menu bar
  return {inner.width() + decorations.left() + decorations.right(),
          inner.height() + decorations.top() + decorations.bottom()};
}

namespace {

// Ends a wait once the watched window is on the screen.
class ExposeWatch final : public QObject {
 public:
  ExposeWatch(QWindow* window, QEventLoop& loop) : window_(window), loop_(loop) { window_->installEventFilter(this); }
  ~ExposeWatch() override {
    if (window_) window_->removeEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::Expose)
      QTimer::singleShot(0, &loop_, [this] {
        if (window_ && window_->isExposed()) loop_.quit();
      });
    return false;
  }

 private:
  QPointer<QWindow> window_;
  QEventLoop& loop_;
};

}  // namespace

bool GraphWindowQt::wait_until_shown(int timeout_ms) {
  QWindow* handle = windowHandle();
  if (handle == nullptr) return false;
  if (handle->isExposed()) return true;
  QEventLoop loop;
  ExposeWatch watch(handle, loop);
  QTimer::singleShot(timeout_ms, &loop, &QEventLoop::quit);
  // Clicks and keys wait: nothing may close the window while it is made.
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  return windowHandle() != nullptr && windowHandle()->isExposed();
}

void GraphWindowQt::place(int x, int y, int width, int height) {
  // Qt sizes and moves the client; the window manager puts its frame around
  // it, so the client goes inside the frame that is to be at (x, y).
  const QMargins decorations = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
  const QRect client(x + decorations.left(), y + decorations.top(),
                     width - decorations.left() - decorations.right(),
                     height - decorations.top() - decorations.bottom());
  placing_ = true;
  placement_pending_ = client.size() != size();
  placement_client_ = client.size();
  placement_clock_.start();
  setGeometry(client);
  placing_ = false;
}

void GraphWindowQt::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  // The placement's size has arrived: sizes after it are new ones.
  if (placement_pending_ && event->size() == placement_client_) placement_pending_ = false;
}

void GraphWindowQt::canvas_resized() {
  if (placing_ || dismissed_) return;
  // Looked at once the sizes in flight have arrived: a resize event may
  // still carry a size from before the last placement.
  if (!size_check_->isActive()) size_check_->start();
}

void GraphWindowQt::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // Framing by the window manager moves the client: the frame may have changed.
  canvas_resized();
}

void GraphWindowQt::check_size() {
  if (dismissed_ || !isVisible()) return;
  if (placement_pending_) {
    // The window manager's answer to the last placement is still to come:
    // sizes seen meanwhile are older ones. A window manager that grants
    // another size is heard once it has had its time.
    if (size() != placement_client_ && placement_clock_.elapsed() < placement_answer_ms) {
      size_check_->start();
      return;
    }
    placement_pending_ = false;
  }
  const QRect outer = frameGeometry();
  const QSize frame = frame_size();
  const bool new_frame = frame.width() != graph.graph_frame_width || frame.height() != graph.graph_frame_height;
  if (new_frame) {
    // Other decorations (a new window manager or theme): the client's ratio
    // is worked out again, driven by the width.
    graph.graph_frame_width = frame.width();
    graph.graph_frame_height = frame.height();
    window_sizes.graph_last_width = 0;
  } else if (outer.width() == window_sizes.graph_accepted_width &&
             outer.height() == window_sizes.graph_accepted_height) {
    return;
  }
  graph_size_request request{outer.x(), outer.y(), outer.width(), outer.height(), false};
  graph_window_size_changing(request);
  if (request.width != outer.width() || request.height != outer.height() || request.x != outer.x() ||
      request.y != outer.y())
    place(request.x, request.y, request.width, request.height);
}

void GraphWindowQt::toggle_coordinates() {
  if (!graph.show_coordinates) {
    coordinates_ = new GraphCoordinatesDialog(host_.screen_size(), this);
    coordinates_->show();
    host_.check_menu_item(graph_menu_show_coordinates, true);
    graph.show_coordinates = 1;
    canvas_->setFocus();
    return;
  }
  graph.show_coordinates = 0;
  host_.check_menu_item(graph_menu_show_coordinates, false);
  if (coordinates_) coordinates_->close();
  coordinates_ = nullptr;
}

void GraphWindowQt::update_coordinates(int x, int y) {
  if (!coordinates_) return;
  std::string xs, ys;
  graph_coordinates_text(x, y, xs, ys);
  coordinates_->show_values(qt_text(xs).trimmed(), qt_text(ys).trimmed());
  if (!canvas_->hasFocus()) canvas_->setFocus();
}

void GraphWindowQt::dismiss() {
  dismissed_ = true;
  if (coordinates_) coordinates_->close();
  coordinates_ = nullptr;
  hide();
  deleteLater();
}

void GraphWindowQt::closeEvent(QCloseEvent* event) {
  event->ignore();  // dismiss hides and deletes it
  if (!dismissed_) host_.window_closed_by_user();
}

// ---------------------------------------------------------------- host

QtGraphHost::QtGraphHost(QtFontEngine& fonts, int screen_size, GraphWindowLinks links)
    : fonts_(fonts), screen_size_(screen_size), links_(std::move(links)) {}

QtGraphHost::~QtGraphHost() {
  if (window_) delete window_.data();
}

void QtGraphHost::work_area(int& right, int& bottom) const {
  QScreen* screen = window_ ? window_->screen() : QApplication::primaryScreen();
  QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  right = area.x() + area.width();
  bottom = area.y() + area.height();
}

bool QtGraphHost::open(int, int) {
  if (window_) return true;
  window_ = new GraphWindowQt(*this, fonts_);
  int right = 0, bottom = 0, width = 0, height = 0;
  // A first size with the menu bar as the only frame, its outer corner at
  // (5, 5): a window not yet shown is moved by its frame.
  work_area(right, bottom);
  graph_window_initial_size(0, window_->menuBar()->sizeHint().height(), right, bottom, width, height);
  window_->move(5, 5);
  window_->resize(width, height);
  window_->show();
  // The frame is measured as the window manager has framed the window.
  window_->wait_until_shown(window_frame_wait_ms);
  if (!window_) return false;
  const QSize frame = window_->frame_size();
  work_area(right, bottom);
  graph_window_initial_size(frame.width(), frame.height(), right, bottom, width, height);
  window_->place(5, 5, width, height);
  window_->canvas()->setFocus();
  // Print and export dialogs belong to this window, which hides meanwhile.
  QPointer<GraphWindowQt> shown = window_;
  attach_graph_export_window(
      window_.data(),
      [shown] {
        if (shown) shown->hide();
      },
      [shown] {
        if (!shown) return;
        shown->show();
        shown->canvas()->update();
      });
  return true;
}

void QtGraphHost::close() {
  if (!window_) return;
  GraphWindowQt* w = window_;
  window_ = nullptr;
  detach_graph_export_window();
  w->dismiss();
}

void QtGraphHost::window_closed_by_user() {
  close();
  graph_window_closed();
}

bool QtGraphHost::is_open() const { return !window_.isNull(); }

void QtGraphHost::invalidate() {
  if (window_) window_->canvas()->update();
}

void QtGraphHost::invalidate_rect(int left, int top, int right, int bottom) {
  if (window_) window_->canvas()->update(QRect(QPoint(left, top), QPoint(right, bottom)));
}

void QtGraphHost::apply(int x, int y, int width, int height, bool maximize) {
  graph_size_request request{x, y, width, height, maximize};
  graph_window_size_changing(request);
  window_->place(request.x, request.y, request.width, request.height);
}

void QtGraphHost::resize(int width_px, int height_px) {
  if (!window_) return;
  const QRect outer = window_->frameGeometry();
  const QSize frame = window_->frame_size();
  apply(outer.x(), outer.y(), width_px + frame.width(), height_px + frame.height(), false);
}

void QtGraphHost::maximize() {
  if (!window_) return;
  // The whole work area is asked for; the graph's ratio decides what is kept.
  window_->showNormal();
  int right = 0, bottom = 0;
  work_area(right, bottom);
  apply(0, 0, right, bottom, true);
}

void QtGraphHost::message(const std::string& title, const std::string& text) {
  QWidget* owner = window_.data();
  if (painting) {
    // Not inside the paint: a modal box there would run the event loop in the middle of drawing.
    QPointer<QWidget> guard(owner);
    QTimer::singleShot(0, qApp, [guard, t = qt_text(title), m = qt_text(text)] {
      show_message(guard.data(), t, m);
    });
    return;
  }
  show_message(owner, qt_text(title), qt_text(text));
}

void QtGraphHost::client_size(int& width_px, int& height_px) const {
  width_px = window_ ? window_->canvas()->width() : 0;
  height_px = window_ ? window_->canvas()->height() : 0;
}

void QtGraphHost::check_menu_item(int item, bool checked) {
  if (!window_) return;
  // The options' ticks are reported under the ids GRAPH uses.
  if (QAction* action = window_->menu_action(item)) action->setChecked(checked);
}

void QtGraphHost::enable_menu_item(int item, bool enabled) {
  if (!window_) return;
  if (QAction* action = window_->menu_action(item)) action->setEnabled(enabled);
}

double QtGraphHost::screen_px_per_inch_x() const {
  QScreen* screen = window_ ? window_->screen() : QApplication::primaryScreen();
  return screen != nullptr && screen->logicalDotsPerInchX() > 0 ? screen->logicalDotsPerInchX() : 96.0;
}

double QtGraphHost::screen_px_per_inch_y() const {
  QScreen* screen = window_ ? window_->screen() : QApplication::primaryScreen();
  return screen != nullptr && screen->logicalDotsPerInchY() > 0 ? screen->logicalDotsPerInchY() : 96.0;
}
