// Text measurement kernels: change key, lines and shift levels, measured
// boxes, the turn of offsets and the placement rule.
#include "graph/text_measure.h"

#include <algorithm>
#include <cmath>
#include <string>

std::uint32_t text_hash(std::string_view text) {
  std::uint32_t h = 0;
  for (char ch : text) {
    std::uint64_t t = static_cast<std::uint64_t>(h) * 97u;
    std::int32_t c = static_cast<signed char>(ch);
    h = static_cast<std::uint32_t>(t) + static_cast<std::uint32_t>(t >> 32) + static_cast<std::uint32_t>(c);
  }
  return h;
}

bool text_line_has_shift(std::string_view line) {
  for (char ch : line)
    if (text_is_shift(static_cast<unsigned char>(ch))) return true;
  return false;
}

bool text_lines::next(std::string_view& line) {
  if (done_) return false;
  std::size_t pos = rest_.find('\n');
  if (pos == std::string_view::npos) {
    line = rest_;
    done_ = true;
    return true;
  }
  line = rest_.substr(0, pos);
  rest_ = rest_.substr(pos + 1);
  if (rest_.empty()) done_ = true;  // a final LF opens no further line
  return true;
}

font_spec text_measure_font(int bold, int italic, std::string_view face) {
  font_spec f;
  f.height = 1000;
  f.weight = bold == 1 ? 700 : 0;
  f.italic = italic != 0;
  f.face = std::string(face);
  return f;
}

int text_line_width(FontEngine& fonts, const font_spec& font, std::string_view line, bool& shifted) {
  if (!text_line_has_shift(line)) return fonts.extent(font, line).cx;
  shifted = true;
  int width = 0;
  int level = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    if (text_is_shift(c)) {
      level = text_next_level(level, c);
      continue;
    }
    int f = level == 0 ? 1000 : text_small_factor;
    long long cx = fonts.extent(font, line.substr(i, 1)).cx;
    width += static_cast<int>(cx * f / 1000);
  }
  return width;
}

text_boxes text_measure_boxes(FontEngine& fonts, const font_spec& font, const font_metrics& m,
                              std::string_view text, int justify, int boxed, double angle) {
  text_boxes b;
  const double H = m.height, D = m.descent, W = m.average_char_width;
  int lines = 0;
  int widest = 0;
  text_lines walk(text);
  std::string_view line;
  while (walk.next(line)) {
    bool shifted = false;
    widest = std::max(widest, text_line_width(fonts, font, line, shifted));
    if (shifted) b.has_shifts = 1;
    ++lines;
  }
  if (lines == 0) lines = 1;
  double mx = 0, my = 0, p = 0;
  if (boxed == 1) {
    mx = W;
    my = H / 5;
    p = H / 12 * 1.5;
  }
  const double wmax = widest;
  switch (justify) {
    case 0: b.em_left = -mx, b.em_right = wmax + mx; break;
    case 2: b.em_left = -wmax - mx, b.em_right = mx; break;
    default: b.em_left = -wmax / 2 - mx, b.em_right = wmax / 2 + mx; break;
  }
  b.em_top = H + my - D;
  b.em_bottom = -D - (lines - 1) * H - my;

  const double s = std::sin(angle), c = std::cos(angle);
  const double xs[4] = {b.em_left, b.em_left, b.em_right, b.em_right};
  const double ys[4] = {b.em_bottom, b.em_top, b.em_top, b.em_bottom};
  double x_min = HUGE_VAL, x_max = -HUGE_VAL, y_min = HUGE_VAL, y_max = -HUGE_VAL;
  for (int i = 0; i < 4; ++i) {
    double x = xs[i] * c - ys[i] * s;
    double y = xs[i] * s + ys[i] * c;
    x_min = std::min(x_min, x), x_max = std::max(x_max, x);
    y_min = std::min(y_min, y), y_max = std::max(y_max, y);
  }
  b.box_x_min = x_min - p / 2;
  b.box_x_max = x_max + p / 2;
  b.box_y_min = y_min - p / 2;
  b.box_y_max = y_max + p / 2;
  return b;
}

namespace {
// Adds a turned offset to one axis value: plainly, or in log10 units.
void add_on_axis(bool log_axis, double base, double offset, double* out, double* out_log) {
  double value, log_value;
  if (log_axis) {
    log_value = std::log10(base) + offset;
    value = std::pow(10.0, log_value);
  } else {
    value = base + offset;
    log_value = value;
  }
  if (out) *out = value;
  if (out_log) *out_log = log_value;
}

double axis_difference(bool log_axis, double a, double b) {
  return log_axis ? std::log10(a) - std::log10(b) : a - b;
}
}  // namespace

void text_rotate_offset(const text_turn& t, double base_x, double base_y, double dx, double dy, double* out_x,
                        double* out_y, double* out_log_x, double* out_log_y) {
  const double u = dx / t.r, v = dy;
  const double ry = u * t.sin + v * t.cos;
  const double rx = (u * t.cos - v * t.sin) * t.r;
  add_on_axis(t.log_x, base_x, rx, out_x, out_log_x);
  add_on_axis(t.log_y, base_y, ry, out_y, out_log_y);
}

void text_rotate_point(const text_turn& t, double cx, double cy, double px, double py, double ox, double oy,
                       double* out_x, double* out_y, double* out_log_x, double* out_log_y) {
  const double u = axis_difference(t.log_x, px, cx) + ox;
  const double v = axis_difference(t.log_y, py, cy) + oy;
  text_rotate_offset(t, cx, cy, u, v, out_x, out_y, out_log_x, out_log_y);
}

double text_place_in_range(double lo, double hi, double hi_off, double lo_off, double first, double last) {
  double p = (lo + hi - hi_off - lo_off) / 2;
  if (!(hi_off - lo_off > hi - lo)) {  // the box fits the range
    if (p + lo_off < first) p = first - lo_off;
    if (p + hi_off > hi) p = hi - hi_off;
    if (p + hi_off > last) p = last - hi_off;
    if (p + lo_off < lo) p = lo - lo_off;
  }
  return p;
}
