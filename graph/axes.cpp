// Linear tick steps, grid lines, zero axes, tick lines and axis numbers.
#include "graph/axes.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "graph/datetime_ticks.h"
#include "graph/log_ticks.h"

namespace {

constexpr double seconds_per_year = 31556952;
constexpr int max_ticks = 100000;  // a bound on every tick loop

int saturate_int(double v) {
  if (std::isnan(v)) return 0;
  if (v >= INT_MAX) return INT_MAX;
  if (v <= INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

}  // namespace

linear_step choose_linear_step(double raw) {
  linear_step s;
  if (!(raw > 0) || !std::isfinite(raw)) return s;
  char text[32];
  std::snprintf(text, sizeof text, "%.1e", raw);  // d.de[+-]xx
  int m = (text[0] - '0') * 10 + (text[2] - '0');
  int e = std::atoi(text + 4);
  if (m < 15) s.digit = 1;
  else if (m < 30) s.digit = 2;
  else if (m < 80) s.digit = 5;
  else s.digit = 1, ++e;
  s.exponent = e;
  s.pow = e > 0 ? std::pow(10.0, e) : 1;
  s.invpow = e < 0 ? std::pow(10.0, -e) : 1;
  s.step = s.digit * s.pow / s.invpow;
  return s;
}

std::string axis_format_number(int digit, int exponent, int k, int& exponent_form) {
  const long long n = std::llabs(static_cast<long long>(k)) * digit;
  const std::string sign = k < 0 ? "-" : "";
  const std::string d = std::to_string(n);
  if (exponent >= -10 && exponent <= 10 && !exponent_form) {
    if (n == 0) return "";
    std::string whole, fraction;
    if (exponent >= 0) {
      whole = d + std::string(static_cast<std::size_t>(exponent), '0');
    } else {
      const std::size_t places = static_cast<std::size_t>(-exponent);
      std::string padded = d.size() <= places ? std::string(places - d.size() + 1, '0') + d : d;
      whole = padded.substr(0, padded.size() - places);
      fraction = padded.substr(padded.size() - places);
      while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
      std::size_t first = whole.find_first_not_of('0');
      whole = first == std::string::npos ? "" : whole.substr(first);
    }
    if (whole.size() + fraction.size() < 10) return sign + whole + (fraction.empty() ? "" : "." + fraction);
  }
  exponent_form = 1;
  if (n == 0) return "0";
  std::string digits = d;
  int e = exponent;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back(), ++e;
  e += static_cast<int>(digits.size()) - 1;
  if (digits.size() > 9) digits.resize(9);  // further digits are dropped, not rounded
  std::string text = sign + digits.substr(0, 1);
  if (digits.size() > 1) text += "." + digits.substr(1);
  char tail[16];
  std::snprintf(tail, sizeof tail, "e%c%03d", e < 0 ? '-' : '+', std::abs(e));
  return text + tail;
}

int axis_first_tick(const linear_step& s, double px_per_unit, double offset) {
  return saturate_int(((-0.5 / px_per_unit - offset) * s.invpow / s.digit) / s.pow);
}

double axis_tick_value(const linear_step& s, int k) { return s.digit * static_cast<double>(k) * s.pow / s.invpow; }

int axis_compute_linear_steps() {
  double l = std::max(render.plot_width_in, render.plot_height_in);
  if (l < 7.5) l = 7.5;
  double hscale = graph.graph_hscale_calc, vscale = graph.graph_vscale_calc;
  if (graph.graph_hscale_datetime) hscale /= seconds_per_year;
  if (graph.graph_vscale_datetime) vscale /= seconds_per_year;
  axes.step_x = choose_linear_step(hscale * l / 10 * graph.grid_density);
  axes.step_y = choose_linear_step(vscale * l / 10 * graph.grid_density);
  return 0;
}

void axis_compute_zero_positions() {
  axes.xaxis_displaced = axes.yaxis_displaced = 0;
  axes.xaxis_pos_px = render.voffset_px;
  axes.yaxis_pos_px = render.hoffset_px;
  // On a date-time axis the other axis crosses at the zero date.
  if (graph.graph_vscale_datetime)
    axes.xaxis_pos_px = (graph.graph_voffset_calc + axis_zero_datetime()) * render.px_per_unit_y + 0.5;
  if (graph.graph_hscale_datetime)
    axes.yaxis_pos_px = (graph.graph_hoffset_calc + axis_zero_datetime()) * render.px_per_unit_x + 0.5;
  if (graph.graph_numberxaxis) {
    if (axes.xaxis_pos_px < render.xaxis_title_height_px) {
      axes.xaxis_pos_px = render.xaxis_title_margin_px;
      axes.xaxis_displaced = 1;
    } else if (axes.xaxis_pos_px >= render.plot_height_px - render.xaxis_title_height_px) {
      axes.xaxis_pos_px = render.plot_height_px - render.xaxis_title_margin_px;
      axes.xaxis_displaced = 1;
    }
  }
  if (graph.graph_numberyaxis) {
    if (axes.yaxis_pos_px < render.yaxis_title_height_px) {
      axes.yaxis_pos_px = render.yaxis_title_margin_px;
      axes.yaxis_displaced = 1;
    } else if (axes.yaxis_pos_px >= render.plot_width_px - render.yaxis_title_height_px) {
      axes.yaxis_pos_px = render.plot_width_px - render.yaxis_title_margin_px;
      axes.yaxis_displaced = 1;
    }
  }
}

namespace {

// A vertical or horizontal grid line from a to b (inclusive) at c: whole with
// the dotted screen pen, else as dashes.
void grid_line(DrawDevice& dev, bool vertical, int c, int a, int b, bool dashed) {
  auto segment = [&](int from, int to) {
    if (vertical) {
      dev.move_to(c, from);
      dev.line_to(c, to);
    } else {
      dev.move_to(from, c);
      dev.line_to(to, c);
    }
  };
  if (!dashed) {
    segment(a, b);
    return;
  }
  int pos = a;
  int guard = 0;
  while (pos + axes.grid_dash_px <= b && ++guard < max_ticks) {
    segment(pos, pos + axes.grid_dash_px);
    pos += axes.grid_dash_px + axes.grid_gap_px;
  }
  if (pos < b) segment(pos, b);
}

bool grid_dashed() { return !(render.output_mode == output_screen && axes.grid_pen_px == 1); }

// One tick of an axis, linear or logarithmic: its value in axis units and
// the number it carries (digit x k x 10^exponent).
struct axis_tick {
  double value = 0;
  int digit = 1, exponent = 0, k = 1;
  bool numbered = true;
  bool zero = false;   // the tick of 0, where the other axis crosses
  bool major = false;  // a decade start on a log axis, a major date-time tick
  std::string text;    // a date-time label (else the number)
};

// The text a tick shows.
std::string tick_text(const axis_tick& t) {
  return t.text.empty() ? axis_format_number(t.digit, t.exponent, t.k, axes.number_exponent_form) : t.text;
}

bool axis_is_log(bool x_axis) { return x_axis ? graph.graph_hscale_log : graph.graph_vscale_log; }

// The ticks of one axis from its near edge while the pixel distance
// (value + offset) x px_per_unit + 0.5 is below limit.
std::vector<axis_tick> collect_ticks(bool x_axis, double limit) {
  std::vector<axis_tick> ticks;
  const double ppu = x_axis ? render.px_per_unit_x : render.px_per_unit_y;
  const double offset = x_axis ? graph.graph_hoffset_calc : graph.graph_voffset_calc;
  if (x_axis ? graph.graph_hscale_datetime : graph.graph_vscale_datetime) {
    // Stored level by level, not in time order: every tick is looked at.
    const datetime_tick_table& table = x_axis ? datetime_ticks_x : datetime_ticks_y;
    for (int i = 0; i < table.count; ++i) {
      const datetime_tick& t = table.ticks[i];
      if (!((t.position + offset) * ppu + 0.5 < limit)) continue;
      axis_tick a;
      a.value = t.position;
      a.major = (t.flags & dt_tick_major) != 0;
      a.text = axis_format_datetime_label(t, table);
      if (a.text.empty()) a.text = " ";
      ticks.push_back(a);
    }
    return ticks;
  }
  if (axis_is_log(x_axis)) {
    const log_tick_table& table = x_axis ? axes.log_ticks_x : axes.log_ticks_y;
    for (int i = 0; i < table.count; ++i) {
      const log_tick& t = table.ticks[i];
      if (!((t.value + offset) * ppu + 0.5 < limit)) break;
      axis_tick a;
      a.value = t.value;
      a.digit = t.mantissa;
      a.exponent = t.exponent;
      a.numbered = (t.flags & log_tick_numbered) != 0;
      a.major = (t.flags & log_tick_decade) != 0;
      ticks.push_back(a);
    }
    return ticks;
  }
  const linear_step& s = x_axis ? axes.step_x : axes.step_y;
  int k = axis_first_tick(s, ppu, offset);
  for (int n = 0; n < max_ticks; ++n, ++k) {
    axis_tick a;
    a.value = axis_tick_value(s, k);
    if (!((a.value + offset) * ppu + 0.5 < limit)) break;
    a.digit = s.digit;
    a.exponent = s.exponent;
    a.k = k;
    a.zero = k == 0;
    ticks.push_back(a);
    if (k == INT_MAX) break;
  }
  return ticks;
}

// The grid lines of one axis: every tick, except the zero tick where the
// other axis crosses with its numbers; major lines of a log axis solid and
// dashed in the major pen.
void grid_draw_axis(DrawDevice& dev, bool x_axis) {
  const double ppu = x_axis ? render.px_per_unit_x : render.px_per_unit_y;
  const double offset = x_axis ? graph.graph_hoffset_calc : graph.graph_voffset_calc;
  const int size = x_axis ? render.plot_width_px : render.plot_height_px;
  const int other_displaced = x_axis ? axes.yaxis_displaced : axes.xaxis_displaced;
  const int other_numbers = x_axis ? graph.graph_numberyaxis : graph.graph_numberxaxis;
  const bool dashed = grid_dashed();
  for (const axis_tick& t : collect_ticks(x_axis, size)) {
    const double p = (t.value + offset) * ppu + 0.5;
    if (p < 0) continue;
    if (t.zero && !(other_displaced || !graph.graph_axes || !other_numbers)) continue;
    if (t.major) dev.select_pen(axes.grid_major_pen);
    if (x_axis) {
      grid_line(dev, true, graph_pixel(p) + render.plot_left_px, render.plot_top_px,
                render.plot_top_px + render.plot_height_px - 1, dashed || t.major);
    } else {
      grid_line(dev, false, render.plot_height_px - 1 - graph_pixel(p) + render.plot_top_px, render.plot_left_px,
                render.plot_left_px + render.plot_width_px - 1, dashed || t.major);
    }
    if (t.major) dev.select_pen(axes.grid_pen);
  }
}

pen_spec frame_pen() { return graph_pen(pen_style::inside_frame, render.frame_pen_px, graph.graph_axiscolor); }

}  // namespace

font_spec axis_number_font() {
  font_spec f;
  f.height = render.number_font_px;
  f.weight = 600;
  return f;
}

int grid_draw(DrawDevice& dev) {
  if (!graph.graph_grid) return 0;
  const int w = graph_points_to_pixels(graph.graph_axisweight);
  axes.grid_dash_px = std::max(1, 3 * w);
  axes.grid_gap_px = 2 * w;
  axes.grid_pen_px = std::max(1, 2 * w / 3);
  if (grid_dashed()) axes.grid_pen = graph_pen(pen_style::solid, axes.grid_pen_px, graph.graph_gridcolor);
  else axes.grid_pen = graph_pen(pen_style::dot, 1, graph.graph_gridcolor);
  const draw_color g = graph.graph_gridcolor;
  axes.grid_major_pen = graph_pen(pen_style::solid, std::min(axes.grid_pen_px * 3 / 2, graph_points_to_pixels(10)),
                                 draw_rgb(draw_red(g) * 3 / 4, draw_green(g) * 3 / 4, draw_blue(g) * 3 / 4));
  dev.select_pen(axes.grid_pen);
  grid_draw_axis(dev, true);
  grid_draw_axis(dev, false);
  dev.select_pen(frame_pen());
  return 0;
}

int axis_draw_zero_lines(DrawDevice& dev) {
  if (!graph.graph_axes) return 0;
  const pen_spec normal = graph_pen(pen_style::solid, render.frame_pen_px, graph.graph_axiscolor);
  const pen_spec moved = graph_pen(pen_style::solid, render.frame_pen_px, 0x6464FF);
  const int y = render.plot_height_px - 1 - graph_pixel(axes.xaxis_pos_px) + render.plot_top_px;
  dev.select_pen(axes.xaxis_displaced ? moved : normal);
  dev.move_to(render.plot_left_px, y);
  dev.line_to(render.plot_left_px + render.plot_width_px - 1, y);
  const int x = graph_pixel(axes.yaxis_pos_px) + render.plot_left_px;
  dev.select_pen(axes.yaxis_displaced ? moved : normal);
  dev.move_to(x, render.plot_height_px - 1 + render.plot_top_px);
  dev.line_to(x, render.plot_top_px);
  dev.select_pen(frame_pen());
  return 0;
}

int axis_draw_y_numbers(DrawDevice& dev, int t) {
  if (!graph.graph_axes) return 0;
  axes.number_exponent_form = 0;
  axes.y_numbers_on_left = axes.yaxis_pos_px > render.plot_width_px - 1.5 * render.px_per_inch_x;
  dev.set_text_align(text_align_baseline | (axes.y_numbers_on_left ? text_align_right : text_align_left));
  if (!graph.graph_numberyaxis) return 0;
  dev.set_text_color(graph.graph_axiscolor);
  const font_spec font = axis_number_font();
  font_metrics tm;
  if (!dev.font_engine().metrics(font, tm)) return 0;
  const int d = tm.ascent * 14 / 30;
  axes.y_number_box_count = 0;
  const int axis_x = graph_pixel(axes.yaxis_pos_px);
  const int x = axes.y_numbers_on_left ? axis_x - t / 2 - render.number_font_px / 2 + render.plot_left_px
                                       : axis_x + t / 2 + render.number_font_px / 2 + render.plot_left_px;
  for (const axis_tick& tick : collect_ticks(false, render.plot_height_px - d)) {
    const double p = (tick.value + graph.graph_voffset_calc) * render.px_per_unit_y + 0.5;
    if (!tick.numbered || p < tm.ascent - d || (tick.zero && !axes.xaxis_displaced)) continue;
    const int row = render.plot_height_px - 1 - graph_pixel(p) + render.plot_top_px;
    const int y = row + d;
    dev.move_to(axis_x - t / 2 + render.plot_left_px, row);
    dev.line_to(axis_x + t / 2 + render.plot_left_px, row);
    const std::string text = tick_text(tick);
    const text_size size = dev.font_engine().extent(font, text);
    if (axes.y_number_box_count < max_y_number_boxes) {
      label_box& b = axes.y_number_boxes[axes.y_number_box_count++];
      b.left = axes.y_numbers_on_left ? x - size.cx : x;
      b.right = axes.y_numbers_on_left ? x : x + size.cx;
      b.top = y - tm.ascent;
      b.bottom = y - 1 + size.cy - tm.ascent;
    }
    dev.text_out(x, y, text);
  }
  return 0;
}

namespace {
bool overlaps_y_number(const label_box& b) {
  for (int i = 0; i < axes.y_number_box_count; ++i) {
    const label_box& o = axes.y_number_boxes[i];
    if (b.left < o.right && b.right > o.left && b.top < o.bottom && b.bottom > o.top) return true;
  }
  return false;
}
}  // namespace

int axis_draw_x_numbers(DrawDevice& dev, int t) {
  if (!graph.graph_axes) return 0;
  axes.number_exponent_form = 0;
  axes.x_numbers_below = axes.xaxis_pos_px > render.plot_height_px - render.px_per_inch_y;
  dev.set_text_align(text_align_center | (axes.x_numbers_below ? text_align_top : text_align_baseline));
  if (!graph.graph_numberxaxis) return 0;
  dev.set_text_color(graph.graph_axiscolor);
  const linear_step& s = axes.step_x;
  const int k0 = axis_first_tick(s, render.px_per_unit_x, graph.graph_hoffset_calc);
  const double step_px = s.step * render.px_per_unit_x;
  font_spec font = axis_number_font();
  std::string longest;
  for (int dk : {0, 3, 4}) {
    // Log and date-time numbers are always turned.
    if (graph.graph_hscale_log || graph.graph_hscale_datetime || k0 > INT_MAX - dk) break;
    std::string text = axis_format_number(s.digit, s.exponent, k0 + dk, axes.number_exponent_form);
    if (text.size() > longest.size()) longest = text;
  }
  const int longest_cx = dev.font_engine().extent(font, longest).cx;
  const bool turned = step_px < longest_cx + 15 || graph.graph_hscale_log || graph.graph_hscale_datetime;
  double lo, hi;
  int d = 0;
  font_metrics tm;
  if (turned) {
    font.width = render.number_font_px * 35 / 100;
    font.escapement = 900;
    if (!dev.font_engine().metrics(font, tm)) return -1;
    dev.select_font(font);
    dev.set_text_align(text_align_baseline | (axes.x_numbers_below ? text_align_right : text_align_left));
    d = tm.ascent * 14 / 30;
    lo = tm.ascent - d;
    hi = render.plot_width_px - d;
  } else {
    if (!dev.font_engine().metrics(font, tm)) return 0;
    lo = longest_cx / 2.0;
    hi = render.plot_width_px - longest_cx / 2.0;
  }
  const int axis_row = render.plot_height_px - 1 - graph_pixel(axes.xaxis_pos_px) + render.plot_top_px;
  const int y = axes.x_numbers_below ? axis_row + t / 2 + render.number_font_px / 2
                                     : axis_row - t / 2 - render.number_font_px / 2;
  for (const axis_tick& tick : collect_ticks(true, render.plot_width_px)) {
    const double p = (tick.value + graph.graph_hoffset_calc) * render.px_per_unit_x + 0.5;
    if (!tick.numbered || p < 0 || (tick.zero && !axes.yaxis_displaced)) continue;
    const int tick_x = graph_pixel(p) + render.plot_left_px;
    dev.move_to(tick_x, axis_row - t / 2);
    dev.line_to(tick_x, axis_row + t / 2);
    if (!(p > lo && p < hi)) continue;
    const std::string text = tick_text(tick);
    const text_size size = dev.font_engine().extent(font, text);
    const int x = tick_x + d;
    label_box b;
    if (turned) {
      b.left = x - tm.ascent + 1;
      b.right = x + 1;
      b.top = axes.x_numbers_below ? y - 1 : y - size.cx - 1;
      b.bottom = axes.x_numbers_below ? y + 1 + size.cx : y;
    } else {
      b.left = x - size.cx / 2;
      b.right = x + size.cx / 2;
      b.top = axes.x_numbers_below ? y + size.cy - tm.ascent : y - tm.ascent;
      b.bottom = axes.x_numbers_below ? y - 1 + size.cy : y - 1 + size.cy - tm.ascent;
    }
    if (graph.graph_numberyaxis && overlaps_y_number(b)) continue;
    dev.text_out(x, y, text);
  }
  if (turned) dev.select_font(axis_number_font());
  return 0;
}
