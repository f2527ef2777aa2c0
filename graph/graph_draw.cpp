// graph_draw: one render of the whole graph in its fixed order, so that later
// items cover earlier ones.
#include "graph/graph_draw.h"

#include "graph/axes.h"
#include "graph/clip.h"
#include "graph/graph_state.h"
#include "graph/datetime_ticks.h"
#include "graph/log_ticks.h"
#include "graph/plot.h"
#include "graph/scales.h"
#include "graph/text_table.h"
#include "ports/graph_host_port.h"

namespace {

// A closed run through the four corners of a box in axis units.
void outline_box(DrawDevice& dev, const view_box& b) {
  graph_move_to(dev, b.x_min, b.y_max);
  graph_line_to(dev, b.x_max, b.y_max);
  graph_line_to(dev, b.x_max, b.y_min);
  graph_line_to(dev, b.x_min, b.y_min);
  graph_line_to(dev, b.x_min, b.y_max);
}

}  // namespace

int graph_draw(DrawDevice& dev) {
  dev.end_path();
  render.path_active = 0;
  render.figure_open = 0;
  if (!graph_compute_mapping()) {
    graph_host_port().message("Tovarelle Graph", "Horizontal or Vertical Scale is too small");
    return -1;
  }
  if (render.output_mode == output_metafile || render.output_mode == output_jpeg || graph.graph_bgcolor != 0xFFFFFF) {
    dev.select_pen(graph_pen(pen_style::solid, 0, graph.graph_bgcolor));
    brush_spec brush;
    brush.kind = brush_kind::solid;
    brush.color = graph.graph_bgcolor;
    dev.select_brush(brush);
    dev.rectangle(render.device_origin_x_px, render.device_origin_y_px,
                  render.device_origin_x_px + render.device_width_px,
                  render.device_origin_y_px + render.device_height_px);
  }
  view_compute_boxes();
  if (graph.zbox_ratio != 0 || graph.screen_box_ratio != 0) {
    dev.select_pen(graph_pen(pen_style::solid, 1, 0xFF0000));
    outline_box(dev, render.zbox_axis);
    dev.select_pen(graph_pen(pen_style::solid, 1, 0x000000));
    outline_box(dev, render.screen_box_axis);
  }
  const pen_spec frame = graph_pen(pen_style::inside_frame, render.frame_pen_px, graph.graph_axiscolor);
  dev.select_pen(frame);
  const int tick_h = graph_pixel(render.px_per_inch_x / 8);
  const int tick_v = graph_pixel(render.px_per_inch_y / 8);
  render.number_font_pt = graph.graph_axisweight + 13;
  render.number_font_px = graph_points_to_pixels(render.number_font_pt);
  const font_spec number_font = axis_number_font();
  font_metrics probe;
  if (!dev.font_engine().metrics(number_font, probe)) return -1;
  dev.select_font(number_font);
  dev.set_background_transparent(true);
  axis_compute_linear_steps();
  axes.log_ticks_x.count = axes.log_ticks_y.count = 0;
  if (graph.graph_hscale_log) axis_build_log_ticks(0);
  if (graph.graph_vscale_log) axis_build_log_ticks(1);
  datetime_ticks_x.count = datetime_ticks_y.count = 0;
  texts.xaxis_date_text.clear();
  texts.yaxis_date_text.clear();
  if (graph.graph_hscale_datetime) axis_build_datetime_ticks(0);
  if (graph.graph_vscale_datetime) axis_build_datetime_ticks(1);
  // The zero axes' positions first: the grid leaves out the lines they cover.
  axis_compute_zero_positions();
  grid_draw(dev);
  draw_all_shapes(dev);
  dev.select_pen(frame);
  axis_draw_zero_lines(dev);
  axis_draw_y_numbers(dev, tick_h);
  axis_draw_x_numbers(dev, tick_v);
  if (graph.data_extents_valid) plot_draw_all(dev);
  text_draw_all(dev);
  if (graph.graph_border) {
    dev.select_pen(frame);
    dev.move_to(render.frame_left_px, render.frame_top_px);
    dev.line_to(render.frame_right_px, render.frame_top_px);
    dev.line_to(render.frame_right_px, render.frame_bottom_px);
    dev.line_to(render.frame_left_px, render.frame_bottom_px);
    dev.line_to(render.frame_left_px, render.frame_top_px);
  }
  if (render.output_mode == output_screen && graph.graph_crosshairs) {
    dev.select_pen(graph_pen(pen_style::inside_frame, render.frame_pen_px, 0x0000FF));
    const int x = (render.frame_left_px + 1 + render.frame_right_px) / 2;
    const int y = (render.frame_top_px + render.frame_bottom_px) / 2;
    dev.move_to(x, render.frame_top_px);
    dev.line_to(x, render.frame_bottom_px);
    dev.move_to(render.frame_left_px, y);
    dev.line_to(render.frame_right_px, y);
  }
  return 0;
}
