// The export port on the desktop: GRAPH metafile and jpeg in a running
// program reach the Qt exports over the graph the program drew; the files
// they write are read back, and the graph window is hidden and shown again.
// Before any Qt header: Qt defines "slots" as a macro, and the settings
// header has a member of that name.
#include "frontend/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QPageSize>
#include <QPrinter>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "frontend/qt/draw/qt_font_engine.h"
#include "frontend/qt/graph_export_dialogs.h"
#include "frontend/qt/graph_export_port_qt.h"
#include "session/size_settings.h"
#include "graph/graph_window.h"
#include "interpreter/host_api.h"
#include "interpreter/run_state.h"
#include "ports/font_engine.h"
#include "ports/graph_export_port.h"
#include "tests/support/fake_graph_host.h"
#include "tests/support/jpeg_decode.h"
#include "tests/support/scripted_port.h"
#include "tests/support/test_files.h"

namespace {

std::string temp_name(const std::string& name) {
  return "/tmp/tov-export-port-" + std::to_string(::getpid()) + "-" + name;
}

// The engine the graph measures its texts with, and the exports draw them with.
QtFontEngine& fonts() {
  static QtFontEngine engine;
  return engine;
}

// The dialogs and messages of an export, scripted: the screen is the
// metafile's reference and the file name is given.
class ScriptedExportHost final : public GraphExportHost {
 public:
  std::string metafile;
  int hides = 0, shows = 0;
  std::vector<std::string> messages;

  void hide_graph() override { ++hides; }
  void show_graph() override { ++shows; }
  std::string pdf;  // print to this PDF file (empty: the print dialog cancelled)
  bool choose_printer(QPrinter& printer) override {
    if (pdf.empty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
    return true;
  }
  bool default_printer(QPrinter&) override { return false; }
  int choose_reference(bool) override { return reference_use_screen; }
  bool choose_metafile_path(std::string& path) override {
    path = metafile;
    return !path.empty();
  }
  bool jpeg_options() override { return false; }
  void message(const std::string& title, const std::string& text) override { messages.push_back(title + ": " + text); }
  screen_description screen() override { return {}; }
  QtFontEngine& fonts() override { return ::fonts(); }
};

// A program that draws lines, a text and a hatched shape, then runs the
// given GRAPH action and prints "after".
const char* const graph_program =
    "GRAPH\r\n"
    "PLOT color=(255,0,0), lineweight=3\r\n"
    "FOR i = 0 TO 5\r\n"
    "  PLOT x=i, y=i\r\n"
    "NEXT\r\n"
    "TEXT h=50, v=60, size=24, color=(0,0,255), string=\"Tovarelle\"\r\n"
    "SHAPE filltype=hatch, hatch=cross, fillcolor=(0,128,0), left=1, right=3, bottom=1, top=2, rectangle\r\n";

class GraphExportPortTest : public ::testing::Test {
 protected:
  ScriptedPort port;
  FakeGraphHost host;
  QWidget window;  // stands in for the graph window
  int window_hides = 0, window_shows = 0;
  std::uint32_t saved_console = 0;

  void SetUp() override {
    install_frontend_port(&port);
    size_settings_reset_current();
    ASSERT_EQ(host_init(), 0);
    saved_console = console_mode;
    console_mode = 0;
    install_graph_font_engine(&fonts());
    install_qt_graph_export_port();
    attach_graph_export_window(&window, [this] { ++window_hides; }, [this] { ++window_shows; });
  }
  void TearDown() override {
    set_graph_export_host(nullptr);
    detach_graph_export_window();
    uninstall_qt_graph_export_port();
    graph_window_destroy();
    install_graph_font_engine(nullptr);
    console_mode = saved_console;
    interpreter_reset();
    install_frontend_port(nullptr);
  }
  void run_program(const std::string& action) {
    std::string path = temp_name("program.bas");
    std::ofstream(path, std::ios::binary) << graph_program << "GRAPH " << action << "\r\nPRINT \"after\"\r\n";
    port.output.clear();
    host_run_program_file(path, false);
    std::remove(path.c_str());
  }
};

TEST_F(GraphExportPortTest, MetafileOfAProgramsGraphIsReadByARealConverter) {
  ScriptedExportHost scripted;
  scripted.metafile = temp_name("graph.emf");
  set_graph_export_host(&scripted);
  run_program("metafile");
  ASSERT_NE(port.output.find("after"), std::string::npos) << port.output;
  EXPECT_EQ(port.output.find("ERROR"), std::string::npos) << port.output;
  EXPECT_EQ(scripted.hides, 1);
  EXPECT_EQ(scripted.shows, 1);
  ASSERT_FALSE(scripted.messages.empty());
  EXPECT_EQ(scripted.messages.back(), "Tovarelle Graph: MetaFile was successfully created.");
  std::string emf = read_text(scripted.metafile);
  ASSERT_GE(emf.size(), 108u);
  EXPECT_EQ(emf.compare(40, 4, " EMF"), 0);  // the header's signature

  if (!have_program("emf2svg-conv")) {
    std::remove(scripted.metafile.c_str());
    GTEST_SKIP() << "emf2svg-conv is not installed";
  }
  std::string svg_path = temp_name("graph.svg");
  std::string cmd = "emf2svg-conv -i '" + scripted.metafile + "' -o '" + svg_path + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::string svg = read_text(svg_path);
  std::remove(svg_path.c_str());
  std::remove(scripted.metafile.c_str());
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("Tovarelle"), std::string::npos);  // the text
  EXPECT_NE(svg.find("#FF0000"), std::string::npos);    // the plot line
  EXPECT_NE(svg.find("#0000FF"), std::string::npos);    // the text's colour
  EXPECT_NE(svg.find("#008000"), std::string::npos);    // the hatched shape
}

TEST_F(GraphExportPortTest, PrintedPageHoldsTheGraphCentredAndNothingOutsideIt) {
  if (!have_program("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
  ScriptedExportHost scripted;
  scripted.pdf = temp_name("graph.pdf");
  set_graph_export_host(&scripted);
  run_program("print");
  ASSERT_NE(port.output.find("after"), std::string::npos) << port.output;
  EXPECT_EQ(port.output.find("ERROR"), std::string::npos) << port.output;
  // At 20 dots per inch the Letter page is 170 x 220 and the 7.5 x 10 inch
  // graph, centred, spans x 10..160 and y 10..210.
  std::string png_base = temp_name("page");
  std::string cmd = "pdftoppm -r 20 -png -singlefile '" + scripted.pdf + "' '" + png_base + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  QImage page(QString::fromStdString(png_base + ".png"));
  std::remove((png_base + ".png").c_str());
  std::remove(scripted.pdf.c_str());
  ASSERT_EQ(page.width(), 170);
  ASSERT_EQ(page.height(), 220);
  int red = 0, outside = 0;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      QRgb p = page.pixel(x, y);
      bool inside = x >= 9 && x <= 161 && y >= 9 && y <= 211;
      if (qRed(p) > 150 && qGreen(p) < 120 && qBlue(p) < 120) ++red;
      if (!inside && (qRed(p) < 240 || qGreen(p) < 240 || qBlue(p) < 240)) ++outside;
    }
  }
  EXPECT_GT(red, 20);     // the plot line
  EXPECT_EQ(outside, 0);  // nothing beyond the graph's rectangle
}

TEST_F(GraphExportPortTest, FailureIsReportedToTheProgramAndCancelIsQuiet) {
  ScriptedExportHost scripted;
  scripted.metafile = "/nonexistent-folder/graph.emf";
  set_graph_export_host(&scripted);
  run_program("metafile");
  EXPECT_NE(port.output.find("ERROR - MetaFile could not be created."), std::string::npos) << port.output;
  EXPECT_EQ(port.output.find("after"), std::string::npos);
  scripted.metafile.clear();  // the file dialog cancelled
  run_program("metafile");
  EXPECT_NE(port.output.find("after"), std::string::npos) << port.output;
  EXPECT_EQ(port.output.find("ERROR"), std::string::npos) << port.output;
  EXPECT_EQ(scripted.hides, 2);
  EXPECT_EQ(scripted.shows, 2);
}

// The desktop's own dialogs, answered as a user would: the JPEG options get
// a file name and OK, the success message its OK.
TEST_F(GraphExportPortTest, JpegThroughTheDesktopDialogsHidesAndShowsTheWindow) {
  const std::string jpeg = temp_name("graph.jpg");
  jpeg_resolution = 40;
  jpeg_quality = 90;
  std::vector<std::string> seen;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* options = qobject_cast<JpegOptionsDialog*>(modal)) {
      seen.push_back("options");
      options->file_field()->setText(QString::fromStdString(jpeg));
      options->accept();
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      seen.push_back(box->text().toStdString());
      box->accept();
    }
  });
  answer.start(10);
  run_program("jpeg");
  answer.stop();
  EXPECT_NE(port.output.find("after"), std::string::npos) << port.output;
  EXPECT_EQ(seen, (std::vector<std::string>{"options", "JPEG file was successfully created."}));
  EXPECT_EQ(window_hides, 1);
  EXPECT_EQ(window_shows, 1);
  decoded_jpeg image;
  std::string error;
  ASSERT_TRUE(decode_jpeg_file(jpeg, image, error)) << error;
  EXPECT_EQ(image.width, 300);  // 7.5 x 10 inches at 40 dots per inch
  EXPECT_EQ(image.height, 400);
  std::remove(jpeg.c_str());

  // With the window gone the export is refused, and says why.
  detach_graph_export_window();
  run_program("print");
  EXPECT_NE(port.output.find("ERROR - The graph window is not open."), std::string::npos) << port.output;
}

}  // namespace
