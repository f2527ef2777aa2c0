// The graph window "Tovarelle Graph" on Qt: a top-level window with the
// File, Options and Zoom menus over a canvas that paints the graph, and the
// graph host that opens and closes it for the graph core. Mouse, wheel and
// keys go to the window core (graph/graph_window_core.h); sizing follows its
// rules; the Data Coordinates dialog shows the values under the mouse.
#pragma once
#include <QDialog>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>

#include "frontend/qt/draw/qt_font_engine.h"
#include "ports/graph_host_port.h"

class QAction;
class QLabel;
class QTimer;
class GraphWindowQt;

// What the graph window asks of the main dialog.
struct GraphWindowLinks {
  std::function<void()> focus_command_box;  // Tab: the main dialog back, its command box focused
  std::function<void()> pause;              // File/Pause: the Run/Step button
  std::function<void()> restart;            // File/Restart: Run, when the Run button is enabled
};

// The canvas: the window's client area.
class GraphCanvas final : public QWidget {
  Q_OBJECT
 public:
  GraphCanvas(GraphWindowQt& window, QtFontEngine& fonts);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  GraphWindowQt& window_;
  QtFontEngine& fonts_;
};

class GraphCoordinatesDialog final : public QDialog {
  Q_OBJECT
 public:
  GraphCoordinatesDialog(int screen_size, QWidget* owner);
  // Shows the values; the dialog grows when a value would not fit.
  void show_values(const QString& x, const QString& y);
  QString x_text() const;
  QString y_text() const;

 protected:
  void reject() override;

 private:
  // At the right edge of the screen, half way down.
  void place_at_screen_edge();

  QLabel* x_value_ = nullptr;
  QLabel* y_value_ = nullptr;
};

class GraphWindowQt final : public QMainWindow {
  Q_OBJECT
 public:
  GraphWindowQt(class QtGraphHost& host, QtFontEngine& fonts);
  ~GraphWindowQt() override;

  GraphCanvas* canvas() const { return canvas_; }
  QAction* menu_action(int item) const;
  GraphCoordinatesDialog* coordinates_dialog() const { return coordinates_; }
  QtGraphHost& host() { return host_; }

  // Frame: the window's outer size minus the canvas size (the window
  // manager's decorations and the menu bar).
  QSize frame_size() const;
  // Waits (at most timeout_ms, user input held back) until the window is
  // on the screen with the decorations its window manager gives it.
  bool wait_until_shown(int timeout_ms);
  // Places the window: its outer top-left corner at (x, y) and its outer
  // size, decorations included, as the window core counts them.
  void place(int x, int y, int width, int height);
  // The canvas changed size or the window moved: once the sizes in flight
  // have arrived, the core's rule decides what is granted.
  void canvas_resized();
  void toggle_coordinates();
  void update_coordinates(int x, int y);
  // The window goes away for good (the core has already reset the graph).
  void dismiss();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void build_menus();
  void menu_command(int item);
  void check_size();

  QtGraphHost& host_;
  GraphCanvas* canvas_ = nullptr;
  std::map<int, QAction*> actions_;
  QPointer<GraphCoordinatesDialog> coordinates_;
  bool placing_ = false;
  bool dismissed_ = false;
  QTimer* size_check_ = nullptr;
  // The client size last asked of the window manager, while its answer is
  // still on the way, and since when.
  bool placement_pending_ = false;
  QSize placement_client_;
  QElapsedTimer placement_clock_;

  friend class GraphCanvas;
};

// The desktop's graph host: the window while one is open.
class QtGraphHost final : public GraphHostPort {
 public:
  QtGraphHost(QtFontEngine& fonts, int screen_size, GraphWindowLinks links);
  ~QtGraphHost() override;

  bool open(int width_px, int height_px) override;
  void close() override;
  bool is_open() const override;
  void invalidate() override;
  void invalidate_rect(int left, int top, int right, int bottom) override;
  void resize(int width_px, int height_px) override;
  void maximize() override;
  void message(const std::string& title, const std::string& text) override;
  void client_size(int& width_px, int& height_px) const override;
  void check_menu_item(int item, bool checked) override;
  void enable_menu_item(int item, bool enabled) override;
  double screen_px_per_inch_x() const override;
  double screen_px_per_inch_y() const override;

  GraphWindowQt* window() const { return window_; }
  const GraphWindowLinks& links() const { return links_; }
  int screen_size() const { return screen_size_; }
  // The canvas paints: messages wait until it is done.
  bool painting = false;
  // The close box: the window goes and the graph ends.
  void window_closed_by_user();

 private:
  // The work area's right and bottom edges.
  void work_area(int& right, int& bottom) const;
  void apply(int x, int y, int width, int height, bool maximize);

  QtFontEngine& fonts_;
  int screen_size_;
  GraphWindowLinks links_;
  QPointer<GraphWindowQt> window_;
};
