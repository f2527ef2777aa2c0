// The graph window's toolkit-free logic: creation and closing through the
// graph host port, the repaint throttle, and the render entries.
#include "graph/graph_window.h"

#include <new>

#include "graph/graph_draw.h"
#include "graph/graph_state.h"
#include "graph/graph_window_core.h"
#include "graph/scales.h"
#include "interpreter/errors.h"
#include "ports/graph_host_port.h"

namespace {
int window_open = 0;  // the graph window exists
constexpr int max_window_px = 16384;

int window_px(double inches, double ppi) {
  int px = graph_pixel(inches * ppi) + 1;
  return px > max_window_px ? max_window_px : px;
}
}  // namespace

int graph_window_create() {
  GraphHostPort& host = graph_host_port();
  try {
    graph_elements.entries.clear();
    graph_elements.entries.resize(graph_element_capacity);
  } catch (const std::bad_alloc&) {
    graph_elements.entries.clear();
    return report_error(256);
  }
  graph_elements.graph_element_count = 0;
  graph_elements.current_plot = -1;
  graph.grid_density = 1.0;
  graph.graph_window_reset_size = 0;
  window_open = 1;  // set first: the host may paint while it opens the window
  if (!host.open(window_px(graph.graph_width, host.screen_px_per_inch_x()),
                 window_px(graph.graph_height, host.screen_px_per_inch_y()))) {
    window_open = 0;
    graph_elements.entries.clear();
    return report_error(255);
  }
  graph_window_setup_menu();
  return 0;
}

int graph_window_destroy() {
  if (window_open) {
    window_open = 0;
    graph_host_port().close();
  }
  graph_reset();
  return 0;
}

int graph_window_is_open() { return window_open; }

void graph_window_closed() {
  window_open = 0;
  graph_reset();
}

void graph_mark_changed() {
  if (!graph.graph_changed) graph.graph_change_stamp = graph_clock_us();
  graph.graph_changed = 1;
}

void graph_repaint_if_changed() {
  if (window_open && graph.graph_changed) graph_host_port().invalidate();
}

void graph_repaint_throttled() {
  if (window_open && graph.graph_changed && graph_clock_us() - graph.graph_change_stamp > 100000)
    graph_host_port().invalidate();
}

int graph_render(DrawDevice& dev, int output_mode, int origin_x, int origin_y, int width_px, int height_px,
                 double ppi_x, double ppi_y) {
  render.device_origin_x_px = origin_x;
  render.device_origin_y_px = origin_y;
  render.device_width_px = width_px;
  render.device_height_px = height_px;
  render.px_per_inch_x = ppi_x;
  render.px_per_inch_y = ppi_y;
  graph_layout_plot_area();
  axis_title_metrics(dev);
  int r = graph_compute_scales(dev);
  if (r < 0) return r;
  render.output_mode = output_mode;
  return graph_draw(dev);
}

int graph_paint(DrawDevice& dev) {
  if (graph.graph_paint_busy) return 0;
  graph.graph_paint_busy = graph.graph_changed ? 1 : 0;
  graph.graph_changed = 0;
  const int w = dev.width_px(), h = dev.height_px();
  render.screen_px_per_inch_x = (w - 1) / graph.graph_width;
  render.screen_px_per_inch_y = (h - 1) / graph.graph_height;
  int r = graph_render(dev, output_screen, 0, 0, w, h, render.screen_px_per_inch_x, render.screen_px_per_inch_y);
  graph.graph_paint_busy = 0;
  return r;
}
