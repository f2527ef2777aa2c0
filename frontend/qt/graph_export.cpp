// Printing and exporting the graph (see graph_export.h).
// Before any Qt header: Qt defines "slots" as a macro, and the settings
// header has a member of that name.
#include "frontend/settings.h"

#include "frontend/qt/graph_export.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "session/paths.h"
#include "frontend/qt/draw/qt_draw_device.h"
#include "frontend/qt/graph_export_dialogs.h"
#include "graph/emf_writer.h"
#include "platform/jpeg_writer.h"
#include "platform/memory_size.h"

namespace {

constexpr int mode_printer = 2, mode_metafile = 3, mode_jpeg = 4;
constexpr double max_pixels = 1e9;  // larger pixel counts are refused before any conversion

// Shows the graph window again when the export ends, whichever way.
class window_hidden {
 public:
  explicit window_hidden(GraphExportHost& host) : host_(host) { host_.hide_graph(); }
  ~window_hidden() { host_.show_graph(); }
  window_hidden(const window_hidden&) = delete;
  window_hidden& operator=(const window_hidden&) = delete;

 private:
  GraphExportHost& host_;
};

export_result cancelled() { return {export_status::cancelled, 0, {}}; }

export_result failed(GraphExportHost& host, const std::string& title, const std::string& text) {
  if (!text.empty()) host.message(title, text);
  return {export_status::failed, -1, text};
}

// trunc(inches x pixels per inch) (+ extra), or -1 when it is not a sane pixel count.
int inches_to_px(double inches, double ppi, double extra) {
  double v = std::trunc(inches * ppi + extra);
  if (!std::isfinite(v) || v < 0 || v > max_pixels) return -1;
  return static_cast<int>(v);
}

// The printable page of printer in its pixels.
struct page_geometry {
  double ppi = 0;
  int horz_res = 0, vert_res = 0;            // printable area
  int physical_width = 0, physical_height = 0;
  int offset_x = 0, offset_y = 0;            // printable area within the sheet
};

page_geometry measure_page(QPrinter& printer) {
  page_geometry g;
  int res = printer.resolution();
  g.ppi = res;
  QPageLayout layout = printer.pageLayout();
  QRect paint = layout.paintRectPixels(res);
  QRect full = layout.fullRectPixels(res);
  g.horz_res = paint.width();
  g.vert_res = paint.height();
  g.physical_width = full.width();
  g.physical_height = full.height();
  g.offset_x = paint.x() - full.x();
  g.offset_y = paint.y() - full.y();
  return g;
}

// Whether a bitmap of width x height pixels (4 bytes each) leaves the
// machine room: at most a quarter of its memory, and never above 8 GiB.
bool bitmap_fits_in_memory(int width, int height) {
  double limit = 8.0 * 1024 * 1024 * 1024;
  const std::uint64_t physical = physical_memory_bytes();
  if (physical > 0) limit = std::min(limit, static_cast<double>(physical) / 4);
  return 4.0 * width * height <= limit;
}

// The graph's origin on the printable area for a margin (negative: centred).
int page_origin(double margin_in, double ppi, int size_px, int physical, int offset) {
  if (margin_in >= 0) {
    int m = inches_to_px(margin_in, ppi, 0);
    return m < 0 ? -1 : m - offset;
  }
  return (physical - size_px) / 2 - offset;
}

emf_reference printer_reference(QPrinter& printer) {
  emf_reference r;
  int res = printer.resolution();
  QPageLayout layout = printer.pageLayout();
  QRect paint = layout.paintRectPixels(res);
  QRectF mm = layout.paintRect(QPageLayout::Millimeter);
  r.device_width_px = paint.width();
  r.device_height_px = paint.height();
  r.width_mm = static_cast<int>(std::lround(mm.width()));
  r.height_mm = static_cast<int>(std::lround(mm.height()));
  r.ppi_x = r.ppi_y = res;
  return r;
}

// Hundredths of a millimetre per inch as a device reports itself.
double frame_factor(int size_mm, int size_px, double ppi) {
  if (size_px <= 0 || size_mm <= 0) return 2540;
  return static_cast<double>(size_mm) / size_px * ppi * 100;
}

}  // namespace

export_result print_graph(const graph_export_source& graph, GraphExportHost& host) {
  window_hidden hidden(host);
  QPrinter printer(QPrinter::HighResolution);
  printer.setCopyCount(1);
  if (!host.choose_printer(printer)) return cancelled();

  page_geometry page;
  int width = 0, height = 0, origin_x = 0, origin_y = 0;
  bool fits = false;
  for (int attempt = 0; attempt < 2 && !fits; ++attempt) {
    if (attempt == 1) {
      // One change of orientation before giving up.
      printer.setPageOrientation(printer.pageLayout().orientation() == QPageLayout::Portrait
                                     ? QPageLayout::Landscape
                                     : QPageLayout::Portrait);
    }
    page = measure_page(printer);
    width = inches_to_px(graph.width_in, page.ppi, 0) + 1;
    height = inches_to_px(graph.height_in, page.ppi, 0) + 1;
    if (width < 1 || height < 1) break;
    origin_x = page_origin(graph.hmargin_in, page.ppi, width, page.physical_width, page.offset_x);
    origin_y = page_origin(graph.vmargin_in, page.ppi, height, page.physical_height, page.offset_y);
    fits = origin_x >= 0 && origin_y >= 0 && origin_x + width <= page.horz_res && origin_y + height <= page.vert_res;
  }
  if (!fits) return failed(host, "Graph Print", "Graph does not fit on the page. Check printer mode.");

  printer.setDocName("Tovarelle Graph");
  QPainter painter;
  if (!painter.begin(&printer)) return failed(host, "Tovarelle Graph", "Unable to print.");
  QtPainterDevice device(painter, page.horz_res, page.vert_res, page.ppi, page.ppi, host.fonts());
  // Nothing lands outside the graph's own rectangle.
  device.set_base_clip(origin_x, origin_y, origin_x + width, origin_y + height);
  int result = graph.draw ? graph.draw(device, origin_x, origin_y, mode_printer) : -1;
  if (result < 0) {
    printer.abort();
    painter.end();
    return {export_status::failed, result, "The graph could not be drawn for printing."};
  }
  if (!painter.end()) return failed(host, "Tovarelle Graph", "Unable to print.");
  return {export_status::done, result, {}};
}

export_result export_graph_metafile(const graph_export_source& graph, GraphExportHost& host) {
  window_hidden hidden(host);

  // The reference device: the screen when it has resolution enough, else
  // the default printer when it has 300 dots per inch, else the user's choice.
  screen_description screen = host.screen();
  double screen_factor_x = frame_factor(screen.width_mm, screen.width_px, screen.ppi_x);
  double screen_factor_y = frame_factor(screen.height_mm, screen.height_px, screen.ppi_y);
  bool use_screen = graph.width_in * 300 <= screen.full_client_width && graph.height_in * 300 <= screen.full_client_height;
  QPrinter printer(QPrinter::HighResolution);
  bool use_printer = false;
  if (!use_screen) {
    bool have_default = host.default_printer(printer);
    if (have_default && printer.resolution() >= 300) {
      use_printer = true;
    } else {
      switch (host.choose_reference(have_default)) {
        case reference_default_printer:
          if (!have_default) return cancelled();
          use_printer = true;
          break;
        case reference_use_screen: use_screen = true; break;
        case reference_choose_printer:
          if (!host.choose_printer(printer)) return cancelled();
          use_printer = true;
          break;
        default: return cancelled();
      }
    }
  }

  emf_reference ref;
  double factor_x = screen_factor_x, factor_y = screen_factor_y;
  if (use_printer) {
    ref = printer_reference(printer);
    factor_x = frame_factor(ref.width_mm, ref.device_width_px, ref.ppi_x);
    factor_y = frame_factor(ref.height_mm, ref.device_height_px, ref.ppi_y);
  } else {
    ref = {screen.width_px, screen.height_px, screen.width_mm, screen.height_mm, screen.ppi_x, screen.ppi_y};
  }

  std::string path;
  if (!host.choose_metafile_path(path)) return cancelled();

  int frame_right = inches_to_px(graph.width_in, factor_x, 0);
  int frame_bottom = inches_to_px(graph.height_in, factor_y, 0);
  int width = inches_to_px(graph.width_in, ref.ppi_x, 0) + 1;
  int height = inches_to_px(graph.height_in, ref.ppi_y, 0) + 1;
  if (frame_right < 0 || frame_bottom < 0 || width < 1 || height < 1)
    return failed(host, "Tovarelle Graph", "The graph is too large for a metafile.");

  EmfWriter emf(ref, width, height, frame_right, frame_bottom, host.fonts());
  int result = graph.draw ? graph.draw(emf, 0, 0, mode_metafile) : -1;
  if (!emf.save(path)) return failed(host, "Tovarelle Graph", "MetaFile could not be created.\n" + emf.error());
  if (result < 0) return {export_status::failed, result, "The graph could not be drawn into the metafile."};
  host.message("Tovarelle Graph", "MetaFile was successfully created.");
  return {export_status::done, result, {}};
}

export_result export_graph_jpeg(const graph_export_source& graph, GraphExportHost& host) {
  window_hidden hidden(host);
  if (!host.jpeg_options()) return cancelled();

  const char* title = "Tovarelle Graph";
  const std::string could_not = "JPEG file could not be created.";
  double res = static_cast<double>(jpeg_resolution);
  double w_px = std::trunc(res * graph.width_in + 0.5), h_px = std::trunc(res * graph.height_in + 0.5);
  if (!(w_px >= 1 && h_px >= 1 && w_px <= jpeg_max_dimension && h_px <= jpeg_max_dimension)) {
    host.message(title, "The JPEG image would be " + std::to_string(static_cast<long long>(std::min(w_px, 1e15))) +
                            " x " + std::to_string(static_cast<long long>(std::min(h_px, 1e15))) +
                            " pixels; a JPEG image holds 1 to 65500 pixels each way.\nTry a smaller resolution.");
    return failed(host, title, could_not);
  }
  int width = static_cast<int>(w_px), height = static_cast<int>(h_px);

  auto no_bitmap = [&] {
    host.message(title,
                 "Unable to create bitmap in memory\nCould be not enough memory.\nTry a smaller resolution or lower "
                 "quality.");
    return failed(host, title, could_not);
  };
  if (!bitmap_fits_in_memory(width, height)) return no_bitmap();
  QtImageDevice image(width, height, width / graph.width_in, height / graph.height_in, host.fonts());
  if (!image.ok()) return no_bitmap();
  int result = graph.draw ? graph.draw(image, 0, 0, mode_jpeg) : -1;
  if (result < 0) return failed(host, title, could_not);

  const QImage& pixels = image.image();
  std::string error;
  bool written = jpeg_write_file(
      jpeg_full_path, width, height, static_cast<int>(jpeg_quality),
      [&pixels, width](int row, unsigned char* rgb) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(row));
        for (int x = 0; x < width; ++x) {
          rgb[3 * x] = static_cast<unsigned char>(qRed(line[x]));
          rgb[3 * x + 1] = static_cast<unsigned char>(qGreen(line[x]));
          rgb[3 * x + 2] = static_cast<unsigned char>(qBlue(line[x]));
        }
      },
      error);
  if (!written) {
    host.message("Tovarelle JPEG", error);
    return failed(host, title, could_not + "\n" + error);
  }
  host.message(title, "JPEG file was successfully created.");
  return {export_status::done, result, {}};
}

// --- the desktop's host ----------------------------------------------------

QtGraphExportHost::QtGraphExportHost(QWidget* graph_window, QtFontEngine& fonts, std::function<void()> hide,
                                     std::function<void()> show)
    : window_(graph_window), fonts_(fonts), hide_(std::move(hide)), show_(std::move(show)) {}

void QtGraphExportHost::hide_graph() {
  if (hide_) hide_();
}

void QtGraphExportHost::show_graph() {
  if (show_) show_();
}

bool QtGraphExportHost::choose_printer(QPrinter& printer) {
  QPrintDialog dialog(&printer, window_);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  return dialog.exec() == QDialog::Accepted;
}

bool QtGraphExportHost::default_printer(QPrinter& printer) {
  QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return false;
  printer.setPrinterName(info.printerName());
  return printer.isValid();
}

int QtGraphExportHost::choose_reference(bool default_printer_usable) {
  VirtualPrinterDialog dialog(default_printer_usable, window_);
  dialog.exec();
  return dialog.choice();
}

bool QtGraphExportHost::choose_metafile_path(std::string& path) {
  QFileDialog dialog(window_, "Select the Output MetaFile (.emf)", QString::fromStdString(working_folder),
                     "Windows Enhanced Metafile (*.EMF *.emf)");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setDefaultSuffix("emf");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  path = dialog.selectedFiles().first().toStdString();
  return !path.empty();
}

bool QtGraphExportHost::jpeg_options() {
  JpegOptionsDialog dialog(nullptr);
  return dialog.exec() == QDialog::Accepted;
}

void QtGraphExportHost::message(const std::string& title, const std::string& text) {
  QMessageBox::information(window_, QString::fromStdString(title), QString::fromStdString(text));
}

screen_description QtGraphExportHost::screen() {
  screen_description s;
  QScreen* screen = window_ && window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
  if (!screen) return s;
  s.width_px = screen->size().width();
  s.height_px = screen->size().height();
  s.width_mm = static_cast<int>(std::lround(screen->physicalSize().width()));
  s.height_mm = static_cast<int>(std::lround(screen->physicalSize().height()));
  s.ppi_x = screen->logicalDotsPerInchX();
  s.ppi_y = screen->logicalDotsPerInchY();
  s.full_client_width = screen->availableGeometry().width();
  s.full_client_height = screen->availableGeometry().height();
  return s;
}
