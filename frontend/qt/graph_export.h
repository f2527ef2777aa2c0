// The graph leaves the screen: printed (Qt PrintSupport, a real printer or a
// PDF file), written as an enhanced metafile, or written as a JPEG image.
// Each export hides the graph window, sets up its device, has the graph
// drawn on it through the caller's drawing routine, and shows and repaints
// the window again on every way out.
//
// The dialogs and messages an export shows go through GraphExportHost, so
// tests can script them; QtGraphExportHost is the desktop's.
#pragma once
#include <functional>
#include <string>

#include "ports/draw_device.h"

class QPrinter;
class QWidget;
class QtFontEngine;

// What an export needs of the graph.
struct graph_export_source {
  double width_in = 0;    // the graph's size in inches
  double height_in = 0;
  double hmargin_in = 0;  // printed margins in inches; negative: centred on the page
  double vmargin_in = 0;
  // Lays the graph out for dev and draws it with its top-left corner at
  // (origin_x, origin_y) device pixels; output_mode is 2 printer, 3 metafile,
  // 4 JPEG. The graph's size in pixels on dev is trunc(size x pixels per
  // inch) + 1 for printer and metafile, the whole device for JPEG. Returns
  // the drawing's result: 0 or more when done, negative when it failed
  // (the drawing has reported why).
  std::function<int(DrawDevice& dev, int origin_x, int origin_y, int output_mode)> draw;
};

// The outcome of an export: done, cancelled by the user (quiet), or failed
// (message says what failed; the export has also shown it).
enum class export_status { done, cancelled, failed };
struct export_result {
  export_status status = export_status::failed;
  int draw_result = 0;  // the drawing's result (metafiles return it)
  std::string message;
};

// The screen as a metafile reference.
struct screen_description {
  int width_px = 1920, height_px = 1080;         // whole screen
  int width_mm = 508, height_mm = 286;           // its physical size
  double ppi_x = 96, ppi_y = 96;                 // logical pixels per inch
  int full_client_width = 1920, full_client_height = 1040;  // a maximised window's client area
};

// Choices of the reference-device dialog (the buttons' ids).
constexpr int reference_choose_printer = 1020;
constexpr int reference_use_screen = 1021;
constexpr int reference_default_printer = 1022;
constexpr int reference_cancel = 2;

class GraphExportHost {
 public:
  virtual ~GraphExportHost() = default;
  virtual void hide_graph() = 0;
  virtual void show_graph() = 0;  // shows and repaints the window
  // The print dialog on printer (one copy). False: cancelled.
  virtual bool choose_printer(QPrinter& printer) = 0;
  // Points printer at the default printer. False: there is none.
  virtual bool default_printer(QPrinter& printer) = 0;
  // The virtual-printer dialog: one of the reference_ ids.
  virtual int choose_reference(bool default_printer_usable) = 0;
  // The metafile's save dialog. False: cancelled.
  virtual bool choose_metafile_path(std::string& path) = 0;
  // The JPEG options dialog over jpeg_quality, jpeg_resolution and
  // jpeg_full_path. False: cancelled.
  virtual bool jpeg_options() = 0;
  virtual void message(const std::string& title, const std::string& text) = 0;
  virtual screen_description screen() = 0;
  virtual QtFontEngine& fonts() = 0;
};

// The three exports behind the graph's print, metafile and jpeg actions
// (the graph core's graph_print, graph_export_metafile and graph_export_jpeg
// reach them through the window that shows the graph).
export_result print_graph(const graph_export_source& graph, GraphExportHost& host);
export_result export_graph_metafile(const graph_export_source& graph, GraphExportHost& host);
export_result export_graph_jpeg(const graph_export_source& graph, GraphExportHost& host);

// The desktop's host: Qt dialogs owned by the graph window; hide and show
// call the given routines (the graph window's), show also repaints.
class QtGraphExportHost final : public GraphExportHost {
 public:
  QtGraphExportHost(QWidget* graph_window, QtFontEngine& fonts, std::function<void()> hide,
                    std::function<void()> show);
  void hide_graph() override;
  void show_graph() override;
  bool choose_printer(QPrinter& printer) override;
  bool default_printer(QPrinter& printer) override;
  int choose_reference(bool default_printer_usable) override;
  bool choose_metafile_path(std::string& path) override;
  bool jpeg_options() override;
  void message(const std::string& title, const std::string& text) override;
  screen_description screen() override;
  QtFontEngine& fonts() override { return fonts_; }

 private:
  QWidget* window_;
  QtFontEngine& fonts_;
  std::function<void()> hide_, show_;
};
