// The desktop's graph export port (see graph_export_port_qt.h).
#include "frontend/qt/graph_export_port_qt.h"

#include <QPointer>
#include <QWidget>
#include <cmath>
#include <string>
#include <utility>

#include "frontend/qt/draw/qt_font_engine.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "ports/font_engine.h"
#include "ports/graph_export_port.h"

namespace {

// The window the exports belong to, and how to hide and show it.
struct attached_window {
  QPointer<QWidget> window;
  bool attached = false;
  std::function<void()> hide, show;
};
attached_window graph_window_link;
GraphExportHost* scripted_host = nullptr;

// trunc(inches x pixels per inch) + 1, or -1 when that is no sane pixel count.
int graph_size_px(double inches, double ppi) {
  double v = std::trunc(inches * ppi);
  if (!std::isfinite(v) || v < 0 || v >= 1e9) return -1;
  return static_cast<int>(v) + 1;
}

// The engine the export's devices measure and draw text with: the graph's
// own when it is Qt's, so that what the graph measured is what gets drawn.
QtFontEngine& export_fonts() {
  static QtFontEngine own;
  auto* installed = dynamic_cast<QtFontEngine*>(&graph_font_engine());
  return installed ? *installed : own;
}

class QtGraphExportPort final : public GraphExportPort {
 public:
  int print(std::string& failure) override { return run(print_graph, failure); }
  int export_metafile(std::string& failure) override { return run(export_graph_metafile, failure); }
  int export_jpeg(std::string& failure) override { return run(export_graph_jpeg, failure); }

 private:
  using export_fn = export_result (*)(const graph_export_source&, GraphExportHost&);

  int run(export_fn fn, std::string& failure) {
    // An export's dialogs pump events; a second export asked for meanwhile
    // (the File menu) is dropped rather than nested.
    if (busy_) return graph_export_cancelled;
    if (!scripted_host && !graph_window_link.attached) {
      failure = "The graph window is not open.";
      return -1;
    }
    busy_ = true;
    export_result result;
    if (scripted_host) {
      result = fn(current_graph_export_source(), *scripted_host);
    } else {
      // The window may go away while a dialog runs: hide and show only
      // while it is still there.
      QPointer<QWidget> window = graph_window_link.window;
      auto hide = graph_window_link.hide, show = graph_window_link.show;
      QtGraphExportHost host(
          window, export_fonts(), [window, hide] { if (window && hide) hide(); },
          [window, show] { if (window && show) show(); });
      result = fn(current_graph_export_source(), host);
    }
    busy_ = false;
    switch (result.status) {
      case export_status::done: return 0;
      case export_status::cancelled: return graph_export_cancelled;
      case export_status::failed: break;
    }
    failure = result.message.empty() ? "The graph could not be exported." : result.message;
    return result.draw_result < 0 ? result.draw_result : -1;
  }

  bool busy_ = false;
};
QtGraphExportPort qt_export_port;

}  // namespace

void install_qt_graph_export_port() { install_graph_export_port(&qt_export_port); }
void uninstall_qt_graph_export_port() { install_graph_export_port(nullptr); }

void attach_graph_export_window(QWidget* window, std::function<void()> hide, std::function<void()> show) {
  graph_window_link.window = window;
  graph_window_link.attached = window != nullptr;
  graph_window_link.hide = window ? std::move(hide) : nullptr;
  graph_window_link.show = window ? std::move(show) : nullptr;
}

void detach_graph_export_window() { attach_graph_export_window(nullptr, {}, {}); }

void set_graph_export_host(GraphExportHost* host) { scripted_host = host; }

graph_export_source current_graph_export_source() {
  graph_export_source source;
  source.width_in = graph.graph_width;
  source.height_in = graph.graph_height;
  source.hmargin_in = graph.graph_hmargin;
  source.vmargin_in = graph.graph_vmargin;
  source.draw = [](DrawDevice& dev, int origin_x, int origin_y, int output_mode) {
    const double ppi_x = dev.px_per_inch_x(), ppi_y = dev.px_per_inch_y();
    int width = dev.width_px(), height = dev.height_px();
    if (output_mode != output_jpeg) {
      width = graph_size_px(graph.graph_width, ppi_x);
      height = graph_size_px(graph.graph_height, ppi_y);
      if (width < 1 || height < 1) return -1;
    }
    return graph_render(dev, output_mode, origin_x, origin_y, width, height, ppi_x, ppi_y);
  };
  return source;
}
