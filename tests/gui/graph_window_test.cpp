// The Qt graph window offscreen: opened by GRAPH through the interpreter,
// painted, driven with the mouse (Shift), arrow keys, the wheel, typed text
// and Tab, its menus, and closed by the menu and by its close box; and in
// the desktop with a program that waits for clicks.
// The settings header comes before Qt's (its "slots" member).
#include "frontend/settings.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QMenuBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>
#include <string>

#include "frontend/qt/desktop_main.h"
#include "frontend/qt/draw/qt_font_engine.h"
#include "frontend/qt/graph_export_port_qt.h"
#include "frontend/output_buffer.h"
#include "frontend/qt/main_window.h"
#include "frontend/qt/graph_window_qt.h"
#include "session/size_settings.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "graph/graph_window_core.h"
#include "interpreter/host_api.h"
#include "interpreter/keywords.h"
#include "interpreter/run_state.h"
#include "interpreter/special_names.h"
#include "tests/support/scripted_port.h"

namespace {

class GraphWindowQtTest : public ::testing::Test {
 protected:
  ScriptedPort port;
  QtFontEngine fonts;
  std::unique_ptr<QtGraphHost> host;
  int focus_requests = 0, pauses = 0;
  std::uint32_t saved_console = 0;

  void SetUp() override {
    install_frontend_port(&port);
    size_settings_reset_current();
    ASSERT_EQ(host_init(), 0);
    saved_console = console_mode;
    console_mode = 0;
    GraphWindowLinks links;
    links.focus_command_box = [this] { ++focus_requests; };
    links.pause = [this] { ++pauses; };
    host = std::make_unique<QtGraphHost>(fonts, 1, links);
    install_graph_host_port(host.get());
    install_graph_font_engine(&fonts);
  }
  void TearDown() override {
    graph_window_destroy();
    install_graph_font_engine(nullptr);
    install_graph_host_port(nullptr);
    host.reset();
    QApplication::processEvents();
    console_mode = saved_console;
    interpreter_reset();
    install_frontend_port(nullptr);
  }
  void run(const std::string& line) {
    ASSERT_GE(host_run_typed_line(line), 0) << port.output;
    ASSERT_EQ(port.output.find("ERROR"), std::string::npos) << port.output;
  }
  // A graph with a red diagonal, shown and painted.
  GraphWindowQt* plotted() {
    run("graph : plot color=(255,0,0), x=0, y=0 : plot x=10, y=10");
    GraphWindowQt* w = host->window();
    if (w == nullptr) return nullptr;
    QApplication::processEvents();
    w->canvas()->grab();  // paints once: the scales and mapping are in force
    return w;
  }
  static double predefined(int index) { return predefined_variables[index].value.number; }
};

TEST_F(GraphWindowQtTest, OpensWithItsMenusAndPaintsTheGraph) {
  GraphWindowQt* w = plotted();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "Tovarelle Graph");
  QStringList menus;
  for (QAction* a : w->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&Options", "Zoom"}));
  EXPECT_TRUE(w->menu_action(graph_menu_grid)->isChecked());
  EXPECT_FALSE(w->menu_action(graph_menu_crosshairs)->isChecked());
  // The client keeps the graph's 7.5 : 10 ratio.
  const QSize client = w->canvas()->size();
  EXPECT_NEAR(static_cast<double>(client.width()) / client.height(), 0.75, 0.01) << client.width() << "x"
                                                                                  << client.height();
  // A wider window from the user: the height follows.
  w->resize(w->width() + 60, w->height());
  QTest::qWait(100);
  const QSize wider = w->canvas()->size();
  EXPECT_GT(wider.width(), client.width());
  EXPECT_NEAR(static_cast<double>(wider.width()) / wider.height(), 0.75, 0.01) << wider.width() << "x"
                                                                              << wider.height();
  const QImage image = w->canvas()->grab().toImage();
  image.save(QStringLiteral(TOV_ARTEFACT_DIR "/graph_window_offscreen.png"));
  int red = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == qRgb(255, 0, 0)) ++red;
  EXPECT_GT(red, 100);
}

TEST_F(GraphWindowQtTest, MouseKeysWheelAndTextReachTheGraph) {
  GraphWindowQt* w = plotted();
  ASSERT_NE(w, nullptr);
  GraphCanvas* canvas = w->canvas();
  // Shift+click: a click at that point, keystate 1, no move.
  graph_event = -1;
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::ShiftModifier, QPoint(120, 200));
  EXPECT_EQ(graph_event, -2);
  EXPECT_EQ(predefined(PREDEF_KEYSTATE), 1);
  double x = 0, y = 0;
  ASSERT_TRUE(graph_data_coordinates(120, 200, x, y));
  EXPECT_DOUBLE_EQ(predefined(PREDEF_MOUSEXCOORD), x);
  EXPECT_EQ(graph.graph_hoffset, 0);
  // Up zooms in by 1.5.
  const double hs = graph.graph_hscale_calc;
  QTest::keyClick(canvas, Qt::Key_Up);
  EXPECT_DOUBLE_EQ(graph.graph_hscale, hs / 1.5);
  // The wheel towards the user zooms out by 1.1.
  canvas->grab();
  const double zoomed = graph.graph_hscale_calc;
  QWheelEvent wheel(QPointF(50, 50), canvas->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(canvas, &wheel);
  EXPECT_DOUBLE_EQ(graph.graph_hscale, zoomed * 1.1);
  // Typed text: the first character is the event, the next is dropped.
  graph_event = -1;
  QTest::keyClicks(canvas, QStringLiteral("Az"));
  EXPECT_EQ(graph_event, -65);
  // Tab goes back to the command box.
  QTest::keyClick(canvas, Qt::Key_Tab);
  EXPECT_EQ(focus_requests, 1);
  // A plain drag moves the graph.
  canvas->grab();
  const double offset = graph.graph_hoffset_calc;
  QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
  QMouseEvent move(QEvent::MouseMove, QPointF(160, 100), canvas->mapToGlobal(QPointF(160, 100)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(canvas, &move);
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(160, 100));
  EXPECT_GT(graph.graph_hoffset, offset);
}

TEST_F(GraphWindowQtTest, InkeyReadsAKeyTypedInTheGraphWindow) {
  GraphWindowQt* w = plotted();
  ASSERT_NE(w, nullptr);
  port.on_wait = [w](int) { QTest::keyClicks(w->canvas(), QStringLiteral("q")); };
  run("k$ = inkey$ : print \"key \"; k$");
  port.on_wait = nullptr;
  EXPECT_NE(port.output.find("key q"), std::string::npos) << port.output;
}

TEST_F(GraphWindowQtTest, MenusTickAndCloseTheWindow) {
  GraphWindowQt* w = plotted();
  ASSERT_NE(w, nullptr);
  w->menu_action(graph_menu_crosshairs)->trigger();
  EXPECT_EQ(graph.graph_crosshairs, 1);
  EXPECT_TRUE(w->menu_action(graph_menu_crosshairs)->isChecked());
  w->menu_action(graph_menu_grid)->trigger();
  EXPECT_EQ(graph.graph_grid, 0);
  EXPECT_FALSE(w->menu_action(graph_menu_grid)->isChecked());
  w->menu_action(graph_menu_show_coordinates)->trigger();
  ASSERT_NE(w->coordinates_dialog(), nullptr);
  EXPECT_EQ(w->coordinates_dialog()->windowTitle(), "Data Coordinates");
  QMouseEvent hover(QEvent::MouseMove, QPointF(150, 150), w->canvas()->mapToGlobal(QPointF(150, 150)),
                    Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w->canvas(), &hover);
  EXPECT_NE(w->coordinates_dialog()->x_text(), "(x-coordinate)");
  w->menu_action(graph_menu_show_coordinates)->trigger();
  EXPECT_EQ(graph.show_coordinates, 0);
  w->menu_action(graph_menu_pause)->trigger();
  EXPECT_EQ(pauses, 1);
  w->menu_action(graph_menu_close)->trigger();
  EXPECT_EQ(graph_window_is_open(), 0);
  EXPECT_EQ(host->window(), nullptr);
  ASSERT_LT(host_run_typed_line("plot x=1, y=1"), 0);
  EXPECT_NE(port.output.find("ERROR"), std::string::npos);
}

// The File menu's exports, with their dialogs scripted.
class ScriptedExports final : public GraphExportHost {
 public:
  explicit ScriptedExports(QtFontEngine& fonts) : fonts_(fonts) {}
  std::string metafile;
  std::vector<std::string> messages;
  void hide_graph() override {}
  void show_graph() override {}
  bool choose_printer(QPrinter&) override { return false; }
  bool default_printer(QPrinter&) override { return false; }
  int choose_reference(bool) override { return reference_use_screen; }
  bool choose_metafile_path(std::string& path) override {
    path = metafile;
    return true;
  }
  bool jpeg_options() override { return false; }
  void message(const std::string& title, const std::string& text) override { messages.push_back(title + ": " + text); }
  screen_description screen() override { return {}; }
  QtFontEngine& fonts() override { return fonts_; }

 private:
  QtFontEngine& fonts_;
};

TEST_F(GraphWindowQtTest, CoordinatesDialogGrowsToADateTime) {
  run("graph hscaletype=datetime : plot x=makedatetime(1, 1, 2026), y=0 : plot x=makedatetime(1, 2, 2026), y=1");
  GraphWindowQt* w = host->window();
  ASSERT_NE(w, nullptr);
  QApplication::processEvents();
  w->canvas()->grab();
  w->menu_action(graph_menu_show_coordinates)->trigger();
  GraphCoordinatesDialog* dialog = w->coordinates_dialog();
  ASSERT_NE(dialog, nullptr);
  QApplication::processEvents();
  const int narrow = dialog->width();
  QMouseEvent hover(QEvent::MouseMove, QPointF(150, 150), w->canvas()->mapToGlobal(QPointF(150, 150)),
                    Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w->canvas(), &hover);
  const QString text = dialog->x_text();
  // A date and a time to the microsecond: longer than the 24 digits the dialog starts with.
  EXPECT_TRUE(text.contains(':')) << text.toStdString();
  EXPECT_GT(text.size(), 24) << text.toStdString();
  auto* label = dialog->findChild<QLabel*>("control_1101");
  ASSERT_NE(label, nullptr);
  // The whole date and time is shown, in a dialog still at the screen's right edge.
  EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(text)) << text.toStdString();
  EXPECT_GE(label->geometry().right(), label->geometry().left());
  EXPECT_LE(label->geometry().right(), dialog->width());
  EXPECT_GT(dialog->width(), narrow);
  const QRect area = dialog->screen()->availableGeometry();
  EXPECT_EQ(dialog->frameGeometry().right(), area.right());
  dialog->grab().save(QStringLiteral(TOV_ARTEFACT_DIR "/graph_coordinates_datetime.png"));
}

TEST_F(GraphWindowQtTest, FileMenuWritesAMetafile) {
  install_qt_graph_export_port();
  ScriptedExports exports(fonts);
  exports.metafile = QDir::tempPath().toStdString() + "/tovarelle-graph-menu.emf";
  std::remove(exports.metafile.c_str());
  set_graph_export_host(&exports);
  GraphWindowQt* w = plotted();
  ASSERT_NE(w, nullptr);
  w->menu_action(graph_menu_metafile)->trigger();
  std::ifstream written(exports.metafile, std::ios::binary);
  char header[4] = {};
  written.read(header, 4);
  EXPECT_EQ(header[0], 1);  // an enhanced metafile's header record
  EXPECT_EQ(graph_window_is_open(), 1);
  set_graph_export_host(nullptr);
  uninstall_qt_graph_export_port();
  std::remove(exports.metafile.c_str());
}

TEST_F(GraphWindowQtTest, TheCloseBoxEndsTheGraph) {
  GraphWindowQt* w = plotted();
  ASSERT_NE(w, nullptr);
  w->close();
  EXPECT_EQ(graph_window_is_open(), 0);
  EXPECT_EQ(host->window(), nullptr);
  EXPECT_EQ(graph.graph_grid, 1);  // the graph state is back to its defaults
  run("graph");                    // and the next GRAPH opens a new window
  EXPECT_NE(host->window(), nullptr);
}

// Runs action once condition holds, checked from the event loop (also from
// the pumps of a running program).
void once(std::function<bool()> condition, std::function<void()> action) {
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

// The desktop as it runs: a program waiting for clicks in a loop gets them,
// Tab goes back to the command box, and Kill ends the loop.
TEST(GraphWindowDesktop, AProgramWaitingForClicksStaysResponsiveAndKillEndsIt) {
  const std::string program = QDir::tempPath().toStdString() + "/tovarelle-graph-clicks.bas";
  std::ofstream(program) << "graph\nplot x=0, y=0\nplot x=1, y=1\nwhile 1\n"
                            "if checkmouseclick = -2 then print \"clicked\"; keystate\nwend\n";
  create_log_file = 0;
  auto window = std::make_unique<MainWindow>(1);
  window->show();
  window->start(false);
  QApplication::processEvents();
  QtFontEngine fonts;
  QtGraphHost host(fonts, 1, graph_window_links(window.get()));
  install_graph_host_port(&host);
  auto* source = qobject_cast<QLineEdit*>(window->control(IDC_SOURCE_PROGRAM));
  source->setText(QString::fromStdString(program));
  QTest::keyClick(source, Qt::Key_Return);
  auto output = [&window] { return window->output_box()->toPlainText().toStdString(); };
  bool clicked = false, killed = false;
  once([&host] { return host.window() != nullptr && host.window()->isVisible(); }, [&] {
    host.window()->canvas()->grab();
    QTest::mouseClick(host.window()->canvas(), Qt::LeftButton, Qt::ControlModifier, QPoint(100, 100));
    clicked = true;
  });
  once([&] { return output().find("clicked") != std::string::npos; }, [&] {
    QTest::mouseClick(qobject_cast<QPushButton*>(window->control(IDC_KILL)), Qt::LeftButton);
    killed = true;
  });
  qobject_cast<QPushButton*>(window->control(IDC_RUN))->click();
  EXPECT_TRUE(clicked);
  EXPECT_TRUE(killed);
  const std::string text = output();
  const std::size_t at = text.find("clicked");
  ASSERT_NE(at, std::string::npos) << text;
  EXPECT_EQ(std::atof(text.c_str() + at + 7), 2) << text;  // Ctrl: keystate 2
  EXPECT_NE(text.find("User interrupted program"), std::string::npos) << text;
  EXPECT_EQ(graph_window_is_open(), 1);  // the graph stays until the next run
  // Tab in the graph window: the command box has the focus again.
  window->control(IDC_SOURCE_PROGRAM)->setFocus();
  QTest::keyClick(host.window()->canvas(), Qt::Key_Tab);
  EXPECT_EQ(window->focusWidget(), window->control(IDC_COMMAND));
  graph_window_destroy();
  install_graph_host_port(nullptr);
  window.reset();
  QApplication::processEvents();
  log_close();
  std::remove(program.c_str());
}

}  // namespace
