// The text table: its life, measuring each text once per change of its
// string, placing anchors at drawing time, and sizing the axis titles.
#include "graph/text_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "interpreter/errors.h"
#include "interpreter/variables.h"

text_state texts;

std::string_view text_record_text(const text_record& t) {
  if (t.has_own_text) return t.own_text;
  if (!t.value_slot) return {};
  return string_space_text(t.value_slot->string_offset);
}

// ---- table life ----

int text_table_reset() {
  texts.text_count = 0;
  texts.text_capacity = 0;
  texts.xaxis_title = {};
  texts.yaxis_title = {};
  texts.text_default_font[0] = '\0';
  texts.text_default_bold = 1;
  texts.text_default_italic = 0;
  texts.measure_font_valid = false;
  texts.measure_engine = nullptr;
  std::vector<text_record>().swap(texts.table);
  try {
    texts.table.resize(text_table_step);
  } catch (const std::bad_alloc&) {
    return report_error(256);
  }
  texts.text_capacity = text_table_step;
  return 0;
}

namespace {
void drop_text(text_record& t) {
  t.value_slot = nullptr;
  t.has_own_text = false;
  std::string().swap(t.own_text);
}
}  // namespace

void text_clear_all() {
  for (text_record& t : texts.table) drop_text(t);
  drop_text(texts.xaxis_title);
  drop_text(texts.yaxis_title);
  texts.text_count = 0;
}

int text_table_make_room() {
  if (texts.text_count >= text_table_max) return report_error(279);
  if (texts.text_count < texts.text_capacity) return 0;
  try {
    texts.table.resize(static_cast<std::size_t>(texts.text_capacity) + text_table_step);
  } catch (const std::bad_alloc&) {
    return report_error(256);
  }
  texts.text_capacity += text_table_step;
  return 0;
}

// ---- measuring ----

namespace {
// The measuring font for t with its metrics, made again only when the style
// or the engine changed. False when the engine cannot make it.
bool measuring_font(FontEngine& fonts, const text_record& t, font_spec*& font, font_metrics*& m) {
  font_spec want = text_measure_font(t.bold, t.italic, t.font);
  if (!texts.measure_font_valid || texts.measure_engine != &fonts || !(texts.measure_font == want)) {
    texts.measure_font_valid = false;
    if (!fonts.metrics(want, texts.measure_metrics)) return false;
    texts.measure_font = want;
    texts.measure_engine = &fonts;
    texts.measure_font_valid = true;
  }
  font = &texts.measure_font;
  m = &texts.measure_metrics;
  return true;
}

void widen_x(double v) {
  graph.data_x_min = std::min(graph.data_x_min, v);
  graph.data_x_max = std::max(graph.data_x_max, v);
  graph.data_extents_valid = 1;
}
void widen_y(double v) {
  graph.data_y_min = std::min(graph.data_y_min, v);
  graph.data_y_max = std::max(graph.data_y_max, v);
  graph.data_extents_valid = 1;
}

// Measures t into its boxes and widens the data extents. 0 or -280
// (reported once for each string that fails).
int measure_now(FontEngine& fonts, text_record& t, std::string_view text, int n, std::uint32_t h) {
  font_spec* font = nullptr;
  font_metrics* m = nullptr;
  if (!measuring_font(fonts, t, font, m)) {
    t.measured = 0;  // boxes of an older string are not this string's
    if (t.failed_length == n && t.failed_hash == h) return -280;
    t.failed_length = n;
    t.failed_hash = h;
    return report_error(280);
  }
  t.failed_length = -1;
  text_boxes b = text_measure_boxes(fonts, *font, *m, text, t.justify, t.boxed, t.angle);
  if (b.has_shifts) t.has_shifts = 1;
  t.em_left = b.em_left, t.em_top = b.em_top, t.em_right = b.em_right, t.em_bottom = b.em_bottom;
  t.box_x_min = b.box_x_min, t.box_x_max = b.box_x_max, t.box_y_min = b.box_y_min, t.box_y_max = b.box_y_max;
  t.measured = 1;
  if (t.has_x2) {
    widen_x(t.x2);
    widen_x(t.x);
  }
  if (t.has_y2) {
    widen_y(t.y2);
    widen_y(t.y);
  }
  if (t.x_kind == text_place_data) widen_x(t.x);
  if (t.y_kind == text_place_data) widen_y(t.y);
  return 0;
}

double pow10_axis(bool log_axis, double v) { return log_axis ? std::pow(10.0, v) : v; }
double log10_axis(bool log_axis, double v) { return log_axis ? std::log10(v) : v; }
}  // namespace

void text_unit_scales(const text_record& t, const text_view& v, double& sx, double& sy) {
  const double s = t.size > 0 ? t.size : text_default_points;
  if (t.datasize <= 0) {
    sx = s / 72 * v.px_per_inch_y / v.px_per_unit_x / 1000;
    sy = s / 72 * v.px_per_inch_y / v.px_per_unit_y / 1000;
  } else {
    sy = t.datasize / 1000;
    sx = sy * v.px_per_unit_y / v.px_per_unit_x;
  }
}

int text_place_item(text_record& t, const text_view& v) {
  if (t.x_kind == text_place_percent) {
    double px = std::trunc(v.plot_width_in * t.x / 100 * v.px_per_inch_x);
    t.pos_x = pow10_axis(v.log_x, (px - 0.5) / v.px_per_unit_x - v.hoffset);
  }
  if (t.y_kind == text_place_percent) {
    double py = std::trunc((100 - t.y) * v.plot_height_in / 100 * v.px_per_inch_y);
    t.pos_y = pow10_axis(v.log_y, ((v.plot_height_px - 1 - py) - 0.5) / v.px_per_unit_y - v.voffset);
  }
  double sx, sy;
  text_unit_scales(t, v, sx, sy);
  if (t.x_kind == text_place_data) {
    const double xa = t.box_x_max * sx, xi = t.box_x_min * sx;
    t.pos_x = t.x;
    if (t.has_x2) {
      const double first = -0.5 / v.px_per_unit_x - v.hoffset;
      const double last = (v.plot_width_px - 1 - 0.5) / v.px_per_unit_x - v.hoffset;
      double p = text_place_in_range(log10_axis(v.log_x, t.x), log10_axis(v.log_x, t.x2), xa, xi, first, last);
      t.pos_x = pow10_axis(v.log_x, p);
    }
    const double q = log10_axis(v.log_x, t.pos_x);
    if (q + xa < v.zbox_axis.x_min || q + xi > v.zbox_axis.x_max) return 0;
  }
  if (t.y_kind == text_place_data) {
    const double ya = t.box_y_max * sy, yi = t.box_y_min * sy;
    t.pos_y = t.y;
    if (t.has_y2) {
      const double first = -0.5 / v.px_per_unit_y - v.voffset;
      const double last = (v.plot_height_px - 1 - 0.5) / v.px_per_unit_y - v.voffset;
      double p = text_place_in_range(log10_axis(v.log_y, t.y), log10_axis(v.log_y, t.y2), ya, yi, first, last);
      t.pos_y = pow10_axis(v.log_y, p);
    }
    const double q = log10_axis(v.log_y, t.pos_y);
    if (q + ya < v.zbox_axis.y_min || q + yi > v.zbox_axis.y_max) return 0;
  }
  return 1;
}

int text_measure_item(FontEngine& fonts, text_record& t, int init, const text_view* v) {
  std::string_view text = text_record_text(t);
  if (text.empty()) {
    if (init == 1) t.cached_length = 0;
    return 0;
  }
  const int n = static_cast<int>(text.size());
  const std::uint32_t h = text_hash(text);
  if (init == 1 || !t.measured || n != t.cached_length || h != t.cached_hash) {
    int r = measure_now(fonts, t, text, n, h);
    if (r < 0) return r;
    t.cached_length = n;  // only a successful measuring updates the key
    t.cached_hash = h;
  }
  if (init == 1 || !v) return 0;
  return text_place_item(t, *v);
}

text_view text_current_view() {
  text_view v;
  v.px_per_inch_x = render.px_per_inch_x;
  v.px_per_inch_y = render.px_per_inch_y;
  v.px_per_unit_x = render.px_per_unit_x;
  v.px_per_unit_y = render.px_per_unit_y;
  v.hoffset = graph.graph_hoffset_calc;
  v.voffset = graph.graph_voffset_calc;
  v.plot_width_in = render.plot_width_in;
  v.plot_height_in = render.plot_height_in;
  v.plot_width_px = render.plot_width_px;
  v.plot_height_px = render.plot_height_px;
  v.plot_left_px = render.plot_left_px;
  v.plot_top_px = render.plot_top_px;
  v.log_x = graph.graph_hscale_log != 0;
  v.log_y = graph.graph_vscale_log != 0;
  v.zbox_axis = render.zbox_axis;
  return v;
}

// ---- axis titles ----

namespace {
// The font of an axis title: weight 600, upright, sans, height in pixels.
font_spec title_metrics_font(int height_px) {
  font_spec f;
  f.height = std::max(1, height_px);
  f.weight = 600;
  return f;
}

// Sizes one title: its points, metrics and pen, and returns its band in
// inches (0 without a title); -280 reported when its font cannot be made.
int size_title(FontEngine& fonts, const text_record& title, double ppi, double& pt, font_metrics& tm, int& pen_px,
               double& margin_in, double& band_in) {
  band_in = 0;
  if (!text_record_in_use(title)) return 0;
  const double w = graph.graph_axisweight;
  if (title.size != 0) {
    pt = std::max(title.size, 10.0);
  } else {
    pt = std::max((w - 1.5) / 8.5 * 6 + 18, 18.0);
  }
  if (!fonts.metrics(title_metrics_font(graph_pixel(pt * ppi / 72)), tm)) return report_error(280);
  pen_px = std::max(0, graph_pixel((w - 1.5) * ppi / 72));
  int band = tm.height + tm.descent * 6 / 5 + pen_px;
  band_in = band / ppi;
  if (band_in >= 0.2) margin_in = band_in;
  return 0;
}
}  // namespace

int axis_title_metrics(DrawDevice& dev) {
  FontEngine& fonts = dev.font_engine();
  render.xaxis_title_margin_in = 0.2;
  render.yaxis_title_margin_in = 0.2;
  render.xaxis_title_height_px = 0;
  render.yaxis_title_height_px = 0;
  double xband = 0, yband = 0;
  int r = size_title(fonts, texts.xaxis_title, render.px_per_inch_y, texts.xaxis_title_pt, texts.xaxis_title_tm,
                     texts.xaxis_title_pen_px, render.xaxis_title_margin_in, xband);
  if (r >= 0)
    r = size_title(fonts, texts.yaxis_title, render.px_per_inch_x, texts.yaxis_title_pt, texts.yaxis_title_tm,
                   texts.yaxis_title_pen_px, render.yaxis_title_margin_in, yband);
  render.xaxis_title_margin_px = render.xaxis_title_margin_in * render.px_per_inch_y;
  render.yaxis_title_margin_px = render.yaxis_title_margin_in * render.px_per_inch_x;
  render.xaxis_title_height_px = xband * render.px_per_inch_y;
  render.yaxis_title_height_px = yband * render.px_per_inch_x;
  return r < 0 ? r : 0;
}
