// The graph state's single instances, the data extents, the pixel mapping and
// graph_reset.
#include "graph/graph_state.h"

#include <cmath>

#include "graph/shapes.h"
#include "graph/text_table.h"
#include "interpreter/debugging.h"

graph_state graph;
graph_render_state render;
graph_element_table graph_elements;
axis_render_state axes;
double graph_event = -1;

void graph_widen_extents(double x, double y) {
  if (x < graph.data_x_min) graph.data_x_min = x;
  if (x > graph.data_x_max) graph.data_x_max = x;
  if (y < graph.data_y_min) graph.data_y_min = y;
  if (y > graph.data_y_max) graph.data_y_max = y;
  graph.data_extents_valid = 1;
}

int graph_pixel(double v) {
  // Devices take ints; keep room so that adding a plot origin cannot overflow.
  constexpr double limit = 1e9;
  if (std::isnan(v)) return 0;
  if (v >= limit) return static_cast<int>(limit);
  if (v <= -limit) return -static_cast<int>(limit);
  return static_cast<int>(v);  // truncates toward zero
}

int map_x(const pixel_mapping& m, double x) {
  return graph_pixel((x + m.hoffset) * m.px_per_unit_x + 0.5) + m.plot_left;
}

int map_y(const pixel_mapping& m, double y) {
  return m.plot_height - 1 - graph_pixel((y + m.voffset) * m.px_per_unit_y + 0.5) + m.plot_top;
}

pixel_mapping current_mapping() {
  pixel_mapping m;
  m.px_per_unit_x = render.px_per_unit_x;
  m.px_per_unit_y = render.px_per_unit_y;
  m.hoffset = graph.graph_hoffset_calc;
  m.voffset = graph.graph_voffset_calc;
  m.plot_left = render.plot_left_px;
  m.plot_top = render.plot_top_px;
  m.plot_height = render.plot_height_px;
  return m;
}

pen_spec graph_pen(pen_style style, int width, draw_color color) {
  pen_spec p;
  p.style = style;
  p.width = width;
  p.color = color;
  return p;
}

int graph_points_to_pixels(double points) {
  int px = graph_pixel((render.px_per_inch_x + render.px_per_inch_y) / 2 * points / 72 + 0.5);
  return px < 1 ? 1 : px;
}

int graph_reset() {
  graph = graph_state{};
  // The device values of the window stay; the view, path and title values
  // go back to their defaults.
  graph_render_state fresh;
  fresh.output_mode = render.output_mode;
  fresh.device_origin_x_px = render.device_origin_x_px;
  fresh.device_origin_y_px = render.device_origin_y_px;
  fresh.device_width_px = render.device_width_px;
  fresh.device_height_px = render.device_height_px;
  fresh.px_per_inch_x = render.px_per_inch_x;
  fresh.px_per_inch_y = render.px_per_inch_y;
  fresh.screen_px_per_inch_x = render.screen_px_per_inch_x;
  fresh.screen_px_per_inch_y = render.screen_px_per_inch_y;
  render = fresh;
  axes = axis_render_state{};
  graph_elements.entries.clear();
  graph_elements.entries.shrink_to_fit();
  graph_elements.graph_element_count = 0;
  graph_elements.current_plot = -1;
  graph_event = -1;
  mouse_check_forward = 0;
  shape_table_reset();
  text_table_reset();
  return 0;
}
