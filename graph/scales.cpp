// Plot-area layout, scale and offset computation, the pixel mapping and the
// view boxes.
#include "graph/scales.h"

#include <cmath>
#include <utility>

#include "graph/shapes.h"
#include "graph/text_shapes.h"
#include "interpreter/errors.h"

namespace {

double clamp_scale(double s) {
  if (std::isnan(s)) return graph_scale_min;
  if (s < graph_scale_min) return graph_scale_min;
  if (s > graph_scale_max) return graph_scale_max;
  return s;
}

// The data range of one axis; 0 or -265 on a log axis with data <= 0.
int axis_range(bool valid, double data_min, double data_max, bool log, bool include_zero, double size_in,
               double requested_scale, double& lo, double& hi) {
  if (!valid) {
    lo = 0;
    hi = requested_scale != 0 ? size_in * requested_scale : 5;
  } else {
    lo = data_min;
    hi = data_max;
    if (log) {
      if (lo <= 0) return report_error_no_echo(265);
      lo = std::log10(lo);
      hi = std::log10(hi);
    }
  }
  if (include_zero) {
    if (lo > 0) lo = 0;
    if (hi < 0) hi = 0;
  }
  axis_widen_empty_range(lo, hi, size_in, requested_scale);
  return 0;
}

}  // namespace

void axis_widen_empty_range(double& lo, double& hi, double size_in, double requested_scale) {
  if (hi > lo) return;
  hi = requested_scale != 0 ? lo + size_in * requested_scale : lo + std::fabs(lo) + 1;
}

void axis_auto_scale(double lo, double hi, double size_in, double c, double title_in, bool include_zero,
                     double& scale, double& offset) {
  const double span = 2 * (hi / 2 - lo / 2);  // halves keep the difference finite
  const double room = size_in - 2 * c;
  double s = clamp_scale(span / room);
  double left = -lo / s + c;
  if (include_zero) {
    if (left < title_in) {
      s = span / (room - title_in + left);
      left = title_in;
    }
    if (left > size_in - title_in) {
      s = -lo / (room - title_in);
      left = room - title_in;
    }
    s = clamp_scale(s);
  }
  scale = s;
  offset = left * s;
}

double axis_offset_for_scale(double lo, double scale_calc, double requested_offset, bool numbers, double size_in,
                             double title_in) {
  if (requested_offset == 0 && numbers) {
    double left = -lo / scale_calc;
    if (left < title_in) left = title_in;
    if (left > size_in - title_in) left = size_in - title_in;
    return left * scale_calc;
  }
  return requested_offset;
}

int axis_clamp_to_limits(double& scale, double& offset, double width_in, double limit_min, double limit_max) {
  int changed = 0;
  double a = width_in * scale - limit_max;
  const double b = -limit_min;
  auto widest = [&] {
    scale = 2 * (limit_max / 2 - limit_min / 2) / width_in;
    a = width_in * scale - limit_max;
    offset = b;
    changed = 1;
  };
  if (offset < a) {
    offset = a;
    if (offset > b) widest();
  }
  if (offset > b) {
    offset = b;
    if (offset < a) widest();
  }
  return changed;
}

view_box view_make_box(double r, double hscale, double hoffset, double vscale, double voffset, double width_in,
                       double height_in) {
  const double dx = hscale * width_in, dy = vscale * height_in;
  view_box b;
  b.x_min = -hoffset - (r - 1) * dx / 2;
  b.x_max = (r + 1) * dx / 2 - hoffset;
  b.y_min = -voffset - (r - 1) * dy / 2;
  b.y_max = (r + 1) * dy / 2 - voffset;
  b.x_mid = (b.x_max + b.x_min) / 2;
  b.y_mid = (b.y_max + b.y_min) / 2;
  return b;
}

int graph_layout_plot_area() {
  const int pen = graph_points_to_pixels(graph.graph_axisweight);
  render.frame_pen_px = pen;
  render.frame_left_px = render.device_origin_x_px + pen / 2;
  render.frame_right_px = render.device_origin_x_px + render.device_width_px - (pen + 1) / 2;
  render.frame_top_px = render.device_origin_y_px + pen / 2;
  render.frame_bottom_px = render.device_origin_y_px + render.device_height_px - (pen + 1) / 2;
  if (!graph.graph_border) {
    render.plot_left_px = render.device_origin_x_px;
    render.plot_top_px = render.device_origin_y_px;
    render.plot_width_px = render.device_width_px;
    render.plot_height_px = render.device_height_px;
    render.plot_width_in = graph.graph_width;
    render.plot_height_in = graph.graph_height;
  } else {
    render.plot_left_px = render.device_origin_x_px + pen;
    render.plot_top_px = render.device_origin_y_px + pen;
    render.plot_width_px = render.device_width_px - 2 * pen;
    render.plot_height_px = render.device_height_px - 2 * pen;
    render.plot_width_in = (render.plot_width_px - 1) / render.px_per_inch_x;
    render.plot_height_in = (render.plot_height_px - 1) / render.px_per_inch_y;
  }
  return 0;
}

int graph_compute_scales(DrawDevice& dev) {
  // Text shapes changed since the last scaling are measured first, so that
  // their extents count.
  if (shapes.text_shapes_changed) measure_text_shapes(dev);
  if (graph.data_x_max == -INFINITY || graph.data_y_max == -INFINITY) graph.data_extents_valid = 0;
  const double c = graph.graph_clearance;
  const double w = render.plot_width_in, h = render.plot_height_in;
  const double tm_y = render.yaxis_title_margin_in, tm_x = render.xaxis_title_margin_in;
  for (int attempt = 0;; ++attempt) {
    double xlo, xhi, ylo, yhi;
    const bool valid = graph.data_extents_valid != 0;
    int r = axis_range(valid, graph.data_x_min, graph.data_x_max, graph.graph_hscale_log, graph.graph_includeyaxis,
                       w, graph.graph_hscale, xlo, xhi);
    if (r < 0) return r;
    r = axis_range(valid, graph.data_y_min, graph.data_y_max, graph.graph_vscale_log, graph.graph_includexaxis, h,
                   graph.graph_vscale, ylo, yhi);
    if (r < 0) return r;
    double sx, ox, sy, oy;
    axis_auto_scale(xlo, xhi, w, c, tm_y, graph.graph_includeyaxis, sx, ox);
    axis_auto_scale(ylo, yhi, h, c, tm_x, graph.graph_includexaxis, sy, oy);
    graph.graph_hscale_calc = graph.graph_hscale != 0 ? graph.graph_hscale : sx;
    graph.graph_vscale_calc = graph.graph_vscale != 0 ? graph.graph_vscale : sy;
    if (graph.graph_equalscales) {
      double larger = std::max(graph.graph_hscale_calc, graph.graph_vscale_calc);
      graph.graph_hscale_calc = graph.graph_vscale_calc = larger;
    }
    graph.graph_hoffset_calc =
        graph.graph_hscale == 0 ? ox
                                : axis_offset_for_scale(xlo, graph.graph_hscale_calc, graph.graph_hoffset,
                                                        graph.graph_numberyaxis, w, tm_y);
    graph.graph_voffset_calc =
        graph.graph_vscale == 0 ? oy
                                : axis_offset_for_scale(ylo, graph.graph_vscale_calc, graph.graph_voffset,
                                                        graph.graph_numberxaxis, h, tm_x);
    const double hlimit = graph.graph_hscale_datetime ? datetime_offset_scale_limit : linear_offset_scale_limit;
    const double vlimit = graph.graph_vscale_datetime ? datetime_offset_scale_limit : linear_offset_scale_limit;
    const bool too_large = std::fabs(graph.graph_hoffset_calc / graph.graph_hscale_calc) > hlimit ||
                           std::fabs(graph.graph_voffset_calc / graph.graph_vscale_calc) > vlimit;
    if (!too_large) break;
    report_error_no_echo(262);
    if (attempt > 0 || (graph.graph_includexaxis && graph.graph_includeyaxis)) return -262;
    graph.graph_includexaxis = graph.graph_includeyaxis = 1;
  }
  // Axis limits: the view shows no value beyond them.
  const bool hrequested = graph.graph_hscale != 0, vrequested = graph.graph_vscale != 0;
  const double view_w = render.plot_width_px / render.px_per_inch_x;
  const double view_h = render.plot_height_px / render.px_per_inch_y;
  double offset = graph.graph_hoffset_calc;
  if (axis_clamp_to_limits(graph.graph_hscale_calc, offset, view_w, graph.graph_hlimit_min, graph.graph_hlimit_max)) {
    graph.graph_hscale = graph.graph_hscale_calc;
    if (hrequested) report_error_no_echo(272);
  }
  if (offset != graph.graph_hoffset_calc) graph.graph_hoffset_calc = graph.graph_hoffset = offset;
  offset = graph.graph_voffset_calc;
  if (axis_clamp_to_limits(graph.graph_vscale_calc, offset, view_h, graph.graph_vlimit_min, graph.graph_vlimit_max)) {
    graph.graph_vscale = graph.graph_vscale_calc;
    if (vrequested) report_error_no_echo(272);
  }
  if (offset != graph.graph_voffset_calc) graph.graph_voffset_calc = graph.graph_voffset = offset;
  return 0;
}

bool graph_compute_mapping() {
  render.px_per_unit_x = render.px_per_inch_x / graph.graph_hscale_calc;
  render.px_per_unit_y = render.px_per_inch_y / graph.graph_vscale_calc;
  if (!std::isfinite(render.px_per_unit_x) || !std::isfinite(render.px_per_unit_y)) return false;
  render.hoffset_px = graph.graph_hoffset_calc * render.px_per_unit_x + 0.5;
  render.voffset_px = graph.graph_voffset_calc * render.px_per_unit_y + 0.5;
  return true;
}

namespace {

// Data-unit copy of an axis-unit box: 10 to the power on log axes.
view_box to_data_units(view_box b) {
  if (graph.graph_hscale_log) {
    b.x_min = std::pow(10.0, b.x_min), b.x_max = std::pow(10.0, b.x_max), b.x_mid = std::pow(10.0, b.x_mid);
  }
  if (graph.graph_vscale_log) {
    b.y_min = std::pow(10.0, b.y_min), b.y_max = std::pow(10.0, b.y_max), b.y_mid = std::pow(10.0, b.y_mid);
  }
  return b;
}

void override_bounds(view_box& b, double left, double right, double top, double bottom) {
  b.x_min = left, b.x_max = right, b.y_max = top, b.y_min = bottom;
  b.x_mid = (b.x_max + b.x_min) / 2;
  b.y_mid = (b.y_max + b.y_min) / 2;
}

}  // namespace

int view_compute_boxes() {
  double r = graph.zbox_ratio;
  if (r == 0 || r < 0.5 || r > 3) r = 2;
  double s = graph.screen_box_ratio;
  if (s == 0) s = 1;
  else if (s < 0.5 || s > r) s = r / 2;
  view_box z = view_make_box(r, graph.graph_hscale_calc, graph.graph_hoffset_calc, graph.graph_vscale_calc,
                             graph.graph_voffset_calc, graph.graph_width, graph.graph_height);
  if (graph.zbox_override)
    override_bounds(z, graph.zbox_override_left, graph.zbox_override_right, graph.zbox_override_top,
                    graph.zbox_override_bottom);
  view_box sb = view_make_box(s, graph.graph_hscale_calc, graph.graph_hoffset_calc, graph.graph_vscale_calc,
                              graph.graph_voffset_calc, graph.graph_width, graph.graph_height);
  if (graph.screen_box_override)
    override_bounds(sb, graph.screen_box_override_left, graph.screen_box_override_right,
                    graph.screen_box_override_top, graph.screen_box_override_bottom);
  render.zbox_axis = z;
  render.screen_box_axis = sb;
  render.zbox = to_data_units(z);
  render.screen_box = to_data_units(sb);
  return 0;
}

namespace {
void swap_axis(view_box& a, view_box& b, bool x, bool y) {
  if (x) std::swap(a.x_min, b.x_min), std::swap(a.x_max, b.x_max), std::swap(a.x_mid, b.x_mid);
  if (y) std::swap(a.y_min, b.y_min), std::swap(a.y_max, b.y_max), std::swap(a.y_mid, b.y_mid);
}
}  // namespace

void view_enter_log_units() {
  swap_axis(render.zbox, render.zbox_axis, graph.graph_hscale_log, graph.graph_vscale_log);
  swap_axis(render.screen_box, render.screen_box_axis, graph.graph_hscale_log, graph.graph_vscale_log);
}

void view_leave_log_units() { view_enter_log_units(); }
