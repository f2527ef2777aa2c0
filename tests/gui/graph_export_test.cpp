// Printing and export of a graph through a scripted host: a PDF printed and
// rasterised, metafiles parsed, JPEG files decoded and compared with the
// image drawn directly, the dialogs' rules, and the window shown again on
// every way out.
// Before any Qt header: Qt defines "slots" as a macro, and the settings
// header has a member of that name.
#include "frontend/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <QLabel>
#include <QPageSize>
#include <QPrinter>
#include <QRadioButton>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "session/paths.h"
#include "frontend/qt/draw/qt_draw_device.h"
#include "frontend/qt/graph_export.h"
#include "frontend/qt/graph_export_dialogs.h"
#include "tests/support/jpeg_decode.h"
#include "tests/support/test_files.h"

namespace {

QtFontEngine& engine() {
  static QtFontEngine e;
  return e;
}

std::string temp_name(const std::string& name) {
  return "/tmp/tov-export-" + std::to_string(::getpid()) + "-" + name;
}

std::vector<std::uint8_t> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::int32_t i32(const std::vector<std::uint8_t>& d, std::size_t at) {
  return static_cast<std::int32_t>(d.at(at) | d.at(at + 1) << 8 | d.at(at + 2) << 16 |
                                   static_cast<std::uint32_t>(d.at(at + 3)) << 24);
}

constexpr draw_color sky = draw_rgb(160, 200, 255);
constexpr draw_color black = draw_rgb(0, 0, 0);

// A test graph: a light background over the whole graph, its top-left
// quarter black, and a red line that runs far beyond the graph (clipped).
struct test_graph {
  double width_in, height_in;
  int calls = 0;
  int last_mode = 0;
  int fail_with = 0;  // a negative drawing result to return

  graph_export_source source(double hmargin = -1, double vmargin = -1) {
    graph_export_source s;
    s.width_in = width_in;
    s.height_in = height_in;
    s.hmargin_in = hmargin;
    s.vmargin_in = vmargin;
    s.draw = [this](DrawDevice& dev, int ox, int oy, int mode) { return draw(dev, ox, oy, mode); };
    return s;
  }
  int draw(DrawDevice& dev, int ox, int oy, int mode) {
    ++calls;
    last_mode = mode;
    if (fail_with) return fail_with;
    int w = mode == 4 ? dev.width_px() : static_cast<int>(std::trunc(width_in * dev.px_per_inch_x())) + 1;
    int h = mode == 4 ? dev.height_px() : static_cast<int>(std::trunc(height_in * dev.px_per_inch_y())) + 1;
    dev.fill_rect(ox, oy, ox + w, oy + h, sky);
    dev.fill_rect(ox, oy, ox + w / 2, oy + h / 2, black);
    dev.select_pen({pen_style::solid, std::max(1, w / 50), draw_rgb(255, 0, 0)});
    dev.move_to(ox - w, oy + h * 3 / 4);
    dev.line_to(ox + 2 * w, oy + h * 3 / 4);
    return 0;
  }
};

class FakeHost final : public GraphExportHost {
 public:
  int hides = 0, shows = 0;
  bool visible = true;
  std::vector<std::string> messages;
  // Scripted answers.
  bool printer_ok = true;
  std::string pdf_path;
  QPageSize page = QPageSize(QPageSize::Letter);
  int reference = reference_use_screen;
  std::string metafile;
  bool jpeg_ok = true;
  screen_description screen_desc;

  void hide_graph() override {
    ++hides;
    visible = false;
  }
  void show_graph() override {
    ++shows;
    visible = true;
  }
  bool choose_printer(QPrinter& printer) override {
    if (!printer_ok) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf_path));
    printer.setPageSize(page);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
    return true;
  }
  bool default_printer(QPrinter&) override { return false; }
  int choose_reference(bool usable) override {
    EXPECT_FALSE(usable);
    return reference;
  }
  bool choose_metafile_path(std::string& path) override {
    if (metafile.empty()) return false;
    path = metafile;
    return true;
  }
  bool jpeg_options() override { return jpeg_ok; }
  void message(const std::string& title, const std::string& text) override { messages.push_back(title + ": " + text); }
  screen_description screen() override { return screen_desc; }
  QtFontEngine& fonts() override { return engine(); }
};

bool is_dark(QRgb p) { return qRed(p) + qGreen(p) + qBlue(p) < 150; }
bool is_sky(QRgb p) { return std::abs(qRed(p) - 160) < 30 && std::abs(qGreen(p) - 200) < 30 && qBlue(p) > 220; }
bool is_white(QRgb p) { return qRed(p) > 240 && qGreen(p) > 240 && qBlue(p) > 240; }

}  // namespace

TEST(GraphPrint, CentredOnAPdfPageAndClippedToTheGraph) {
  if (!have_program("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
  FakeHost host;
  host.pdf_path = temp_name("print.pdf");
  test_graph graph{4, 3};
  export_result r = print_graph(graph.source(), host);
  ASSERT_EQ(r.status, export_status::done) << r.message;
  EXPECT_EQ(graph.last_mode, 2);
  EXPECT_EQ(host.hides, 1);
  EXPECT_EQ(host.shows, 1);
  EXPECT_TRUE(host.visible);

  // At 20 dots per inch the Letter page is 170 x 220; the 4 x 3 inch graph
  // spans x 45..125 and y 80..140.
  std::string png_base = temp_name("print");
  std::string cmd = "pdftoppm -r 20 -png -singlefile '" + host.pdf_path + "' '" + png_base + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  QImage page(QString::fromStdString(png_base + ".png"));
  std::remove((png_base + ".png").c_str());
  std::remove(host.pdf_path.c_str());
  ASSERT_FALSE(page.isNull());
  EXPECT_EQ(page.width(), 170);
  EXPECT_EQ(page.height(), 220);
  EXPECT_TRUE(is_dark(page.pixel(60, 95)));     // the black quarter
  EXPECT_TRUE(is_sky(page.pixel(110, 100)));    // the background
  EXPECT_FALSE(is_white(page.pixel(85, 125)));  // the red line inside the graph
  EXPECT_TRUE(is_white(page.pixel(20, 125)));   // and clipped outside it
  EXPECT_TRUE(is_white(page.pixel(150, 125)));
  EXPECT_TRUE(is_white(page.pixel(85, 70)));
  EXPECT_TRUE(is_white(page.pixel(85, 150)));
}

TEST(GraphPrint, FitTestTurnsThePageOnceThenRefuses) {
  if (!have_program("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
  FakeHost host;
  host.pdf_path = temp_name("wide.pdf");
  // 10 x 7.5 inches does not fit a portrait Letter page but fits landscape.
  test_graph wide{10, 7.5};
  ASSERT_EQ(print_graph(wide.source(), host).status, export_status::done);
  std::string png_base = temp_name("wide");
  ASSERT_EQ(std::system(("pdftoppm -r 10 -png -singlefile '" + host.pdf_path + "' '" + png_base + "'").c_str()), 0);
  QImage page(QString::fromStdString(png_base + ".png"));
  std::remove((png_base + ".png").c_str());
  std::remove(host.pdf_path.c_str());
  EXPECT_EQ(page.width(), 110);
  EXPECT_EQ(page.height(), 85);

  // Too large either way: the message, nothing drawn, the window back.
  test_graph huge{20, 20};
  export_result r = print_graph(huge.source(), host);
  EXPECT_EQ(r.status, export_status::failed);
  EXPECT_EQ(huge.calls, 0);
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back(), "Graph Print: Graph does not fit on the page. Check printer mode.");
  // A margin of 0 lies outside the printable area (which starts a quarter inch in).
  test_graph small{2, 2};
  EXPECT_EQ(print_graph(small.source(0, 0), host).status, export_status::failed);
  // Cancelled: quiet.
  host.printer_ok = false;
  std::size_t messages = host.messages.size();
  EXPECT_EQ(print_graph(small.source(), host).status, export_status::cancelled);
  EXPECT_EQ(host.messages.size(), messages);
  EXPECT_EQ(host.hides, host.shows);
  EXPECT_TRUE(host.visible);
}

TEST(GraphMetafile, ScreenAndPrinterReferences) {
  FakeHost host;
  host.metafile = temp_name("graph.emf");
  host.screen_desc = {1920, 960, 508, 254, 96, 96, 1920, 920};
  test_graph graph{7.5, 10};
  // A 96-dpi screen of 1920 x 960 pixels over 508 x 254 mm: 2540 hundredths
  // of a millimetre per inch, so the frame is 19050 x 25400.
  export_result r = export_graph_metafile(graph.source(), host);
  ASSERT_EQ(r.status, export_status::done) << r.message;
  EXPECT_EQ(graph.last_mode, 3);
  std::vector<std::uint8_t> d = read_bytes(host.metafile);
  ASSERT_GE(d.size(), 108u);
  EXPECT_EQ(i32(d, 32), 19050);
  EXPECT_EQ(i32(d, 36), 25400);
  EXPECT_EQ(i32(d, 72), 1920);
  EXPECT_EQ(i32(d, 80), 508);
  EXPECT_EQ(i32(d, 16), 720);  // bounds: the 721 x 961 pixel drawing
  EXPECT_EQ(i32(d, 20), 960);
  EXPECT_EQ(i32(d, 48), static_cast<std::int32_t>(d.size()));
  EXPECT_EQ(host.messages.back(), "Tovarelle Graph: MetaFile was successfully created.");

  // A printer chosen as the reference: its resolution and page.
  host.reference = reference_choose_printer;
  host.pdf_path = temp_name("unused.pdf");
  ASSERT_EQ(export_graph_metafile(graph.source(), host).status, export_status::done);
  d = read_bytes(host.metafile);
  QPrinter probe(QPrinter::HighResolution);
  int res = probe.resolution();
  EXPECT_EQ(i32(d, 16), static_cast<int>(7.5 * res));
  EXPECT_NEAR(i32(d, 32), 19050, 30);  // the page's own millimetres per pixel
  std::remove(host.metafile.c_str());

  // Cancelled at the reference or the file name: no file, quiet.
  host.reference = reference_cancel;
  EXPECT_EQ(export_graph_metafile(graph.source(), host).status, export_status::cancelled);
  host.reference = reference_use_screen;
  host.metafile.clear();
  EXPECT_EQ(export_graph_metafile(graph.source(), host).status, export_status::cancelled);
  // A file that cannot be written is reported.
  host.metafile = "/nonexistent-folder/graph.emf";
  export_result bad = export_graph_metafile(graph.source(), host);
  EXPECT_EQ(bad.status, export_status::failed);
  EXPECT_NE(bad.message.find("nonexistent-folder"), std::string::npos);
  EXPECT_EQ(host.hides, host.shows);
  EXPECT_TRUE(host.visible);
}

TEST(GraphJpeg, MatchesTheImageDrawnDirectly) {
  FakeHost host;
  jpeg_full_path = temp_name("graph.jpg");
  struct jpeg_case {
    int resolution, quality, width, height, tolerance;
  };
  // 7.5 x 10 inches at 80 dots per inch: 600 x 800 pixels.
  const jpeg_case cases[] = {{80, 100, 600, 800, 10}, {33, 40, 248, 330, 48}};
  for (const jpeg_case& c : cases) {
    jpeg_resolution = static_cast<std::uint32_t>(c.resolution);
    jpeg_quality = static_cast<std::uint32_t>(c.quality);
    test_graph graph{7.5, 10};
    export_result r = export_graph_jpeg(graph.source(), host);
    ASSERT_EQ(r.status, export_status::done) << r.message;
    EXPECT_EQ(graph.last_mode, 4);
    decoded_jpeg img;
    std::string error;
    ASSERT_TRUE(decode_jpeg_file(jpeg_full_path, img, error)) << error;
    ASSERT_EQ(img.width, c.width);
    ASSERT_EQ(img.height, c.height);
    QtImageDevice direct(c.width, c.height, c.width / 7.5, c.height / 10.0, engine());
    graph.draw(direct, 0, 0, 4);
    for (auto [fx, fy] : {std::pair{0.25, 0.25}, {0.75, 0.25}, {0.25, 0.6}, {0.5, 0.75}, {0.9, 0.9}}) {
      int x = static_cast<int>(fx * c.width), y = static_cast<int>(fy * c.height);
      QRgb p = direct.image().pixel(x, y);
      EXPECT_NEAR(img.red(x, y), qRed(p), c.tolerance) << x << "," << y;
      EXPECT_NEAR(img.green(x, y), qGreen(p), c.tolerance) << x << "," << y;
      EXPECT_NEAR(img.blue(x, y), qBlue(p), c.tolerance) << x << "," << y;
    }
    EXPECT_EQ(host.messages.back(), "Tovarelle Graph: JPEG file was successfully created.");
  }
  std::remove(jpeg_full_path.c_str());

  // Too many pixels: refused with a clear message before any drawing.
  jpeg_resolution = 600;
  test_graph big{200, 10};
  EXPECT_EQ(export_graph_jpeg(big.source(), host).status, export_status::failed);
  EXPECT_EQ(big.calls, 0);
  EXPECT_EQ(host.messages.back(), "Tovarelle Graph: JPEG file could not be created.");
  // A bitmap far larger than memory allows (60000 x 60000 pixels, over
  // 13 GiB) is refused before it is made.
  test_graph vast{100, 100};
  EXPECT_EQ(export_graph_jpeg(vast.source(), host).status, export_status::failed);
  EXPECT_EQ(vast.calls, 0);
  ASSERT_GE(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[host.messages.size() - 2].rfind("Tovarelle Graph: Unable to create bitmap in memory", 0), 0u);
  // A failed drawing writes no file.
  jpeg_resolution = 50;
  test_graph failing{2, 2};
  failing.fail_with = -5;
  EXPECT_EQ(export_graph_jpeg(failing.source(), host).status, export_status::failed);
  EXPECT_EQ(access(jpeg_full_path.c_str(), F_OK), -1);
  // Cancelled: quiet, no file.
  host.jpeg_ok = false;
  std::size_t messages = host.messages.size();
  EXPECT_EQ(export_graph_jpeg(failing.source(), host).status, export_status::cancelled);
  EXPECT_EQ(host.messages.size(), messages);
  EXPECT_EQ(host.hides, host.shows);
  EXPECT_TRUE(host.visible);
}

TEST(GraphExportDialogs, JpegOptionsKeepChangesAndPresetsStayUnchecked) {
  jpeg_quality = 100;
  jpeg_resolution = 80;
  jpeg_full_path = "/tmp/old.jpg";
  {
    JpegOptionsDialog dialog;
    EXPECT_EQ(dialog.quality_label()->text(), "100");
    dialog.preset(2)->click();  // "200"
    EXPECT_EQ(jpeg_resolution, 200u);
    EXPECT_EQ(dialog.resolution_label()->text(), "200");
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(dialog.preset(i)->isChecked());
    dialog.quality_bar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(jpeg_quality, 90u);
    dialog.resolution_bar()->setValue(10);  // below the range
    EXPECT_EQ(jpeg_resolution, 25u);
    dialog.file_field()->setText("/tmp/new.jpg");
    dialog.reject();
  }
  // Cancel keeps quality and resolution, not the file.
  EXPECT_EQ(jpeg_quality, 90u);
  EXPECT_EQ(jpeg_resolution, 25u);
  EXPECT_EQ(jpeg_full_path, "/tmp/old.jpg");
  {
    JpegOptionsDialog dialog;
    dialog.file_field()->setText("/tmp//sub/../new.jpg");
    dialog.accept();
    EXPECT_EQ(jpeg_full_path.substr(0, 5), "/tmp/");
    EXPECT_NE(jpeg_full_path.find("new.jpg"), std::string::npos);
  }
  EXPECT_TRUE(jpeg_name_has_suffix("a.JPG"));
  EXPECT_TRUE(jpeg_name_has_suffix("b.jpeg"));
  EXPECT_FALSE(jpeg_name_has_suffix("c.png"));
  EXPECT_FALSE(jpeg_name_has_suffix("jpg"));

  VirtualPrinterDialog printers(false);
  EXPECT_FALSE(printers.button(reference_default_printer)->isEnabled());
  printers.button(reference_use_screen)->click();
  EXPECT_EQ(printers.choice(), reference_use_screen);
  VirtualPrinterDialog closed(true);
  closed.reject();
  EXPECT_EQ(closed.choice(), reference_cancel);
}

TEST(GraphExportDialogs, CentredOnTheScreenNotOnTheGraphWindow) {
  // The graph window they belong to is hidden while they are up.
  QWidget graph_window;
  graph_window.setGeometry(5, 5, 300, 200);
  const QRect area = graph_window.screen()->availableGeometry();
  auto centred = [&](QDialog& dialog, const char* what) {
    dialog.show();
    // Placed before it is shown, a dialog is centred by its inner size: its
    // frame may then stand out by its own thickness.
    const QRect frame = dialog.frameGeometry();
    const int slack = 1 + std::max(frame.width() - dialog.width(), frame.height() - dialog.height()) / 2;
    const QPoint centre = frame.center();
    EXPECT_LE(std::abs(centre.x() - area.center().x()), slack) << what;
    // A dialog taller than the area starts at its top.
    if (frame.height() <= area.height()) {
      EXPECT_LE(std::abs(centre.y() - area.center().y()), slack) << what;
    } else {
      EXPECT_EQ(frame.top(), area.top()) << what;
    }
    dialog.hide();
  };
  VirtualPrinterDialog printers(true, &graph_window);
  centred(printers, "virtual printer");
  JpegOptionsDialog jpeg(&graph_window);
  centred(jpeg, "JPEG options");
}
