// Text shapes: a SHAPE TEXT record's characters as filled and stroked glyph
// outlines stretched into its rectangle (measured once before the scaling),
// SHAPE CHAROUTLINE's outline point array for a program, and
// PLOTCHAROUTLINE, which draws such an array again.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "graph/clip.h"
#include "graph/scales.h"
#include "graph/shape_draw.h"
#include "graph/shapes.h"
#include "graph/text_glyphs.h"
#include "graph/text_measure.h"
#include "graph/text_shapes.h"
#include "interpreter/errors.h"
#include "interpreter/named_vars.h"
#include "interpreter/variables.h"

namespace {

// The path ending rule of text shapes: no fill strokes only, no outline
// fills only, else both.
int path_end_rule(const shape_record& s) {
  if (s.filltype == fill_none) return glyph_stroke;
  if (s.outline == 0) return glyph_fill;
  return glyph_stroke_and_fill;
}

// The font of a text shape at the given height: the shape's weight
// (0..1000), italic and face.
font_spec shape_font(const shape_record& s, int height) {
  font_spec f;
  f.height = height;
  f.weight = std::clamp(s.bold, 0, 1000);
  f.italic = s.italic != 0;
  f.face = std::string(s.font, strnlen(s.font, shape_text_size - 1));
  return f;
}

double pow10_axis(bool log_axis, double v) { return log_axis ? std::pow(10.0, v) : v; }

// Views in axis units for a text shape kept in proportion, put back on every
// way out.
class proportion_scope {
 public:
  explicit proportion_scope(bool on) : on_(on) {
    if (!on_) return;
    render.points_in_log_units = 1;
    view_enter_log_units();
  }
  ~proportion_scope() {
    if (!on_) return;
    view_leave_log_units();
    render.points_in_log_units = 0;
  }
  proportion_scope(const proportion_scope&) = delete;
  proportion_scope& operator=(const proportion_scope&) = delete;

 private:
  bool on_;
};

// The characters of s (at most 31).
std::string_view shape_chars(const shape_record& s) {
  return std::string_view(s.characters, strnlen(s.characters, shape_text_size - 1));
}

void widen_record_box(shape_record& s, const glyph_box& b) {
  s.box_x_min = std::min(s.box_x_min, b.x_min);
  s.box_x_max = std::max(s.box_x_max, b.x_max);
  s.box_y_min = std::min(s.box_y_min, b.y_min);
  s.box_y_max = std::max(s.box_y_max, b.y_max);
}

// The older routine (old_shape_text non-zero): a 100-unit font, the blank as
// wide as an "x", the pen from (left, bottom) unturned, no justify, no
// proportions; measuring widens only the data extents.
int shape_text_outline_old(DrawDevice& dev, shape_record& s, int mode) {
  if (mode == 1 && s.outline_measured) return 0;
  FontEngine& fonts = dev.font_engine();
  const font_spec font = shape_font(s, 100);
  font_metrics m;
  if (!fonts.metrics(font, m) || m.average_char_width <= 0) return -1;
  glyph_outline x_glyph;
  fonts.outline(font, 'x', x_glyph);
  glyph_transform g;
  g.sin = std::sin(s.rotate), g.cos = std::cos(s.rotate);
  g.scale_y = (s.top - s.bottom) / 100;
  g.scale_x = s.right == s.left ? g.scale_y : (s.right - s.left) / m.average_char_width;
  g.origin_x = s.left, g.origin_y = s.bottom;
  for (char c : shape_chars(s)) {
    const unsigned char ch = static_cast<unsigned char>(c);
    glyph_outline outline;
    double cell_x = x_glyph.cell_inc_x, cell_y = x_glyph.cell_inc_y;
    if (ch != ' ') {
      const bool drawn = glyph_fetch(fonts, font, ch, outline);
      cell_x = outline.cell_inc_x, cell_y = outline.cell_inc_y;
      if (drawn) {
        const glyph_box b = glyph_turned_box(outline, g);
        if (mode == 1) {
          graph_widen_extents(b.x_min, b.y_min);
          graph_widen_extents(b.x_max, b.y_max);
          s.outline_measured = 1;
        } else if (glyph_box_meets(b, render.zbox)) {
          text_glyph_to_path(dev, outline, g, path_end_rule(s));
        }
      }
    }
    const graph_point step = glyph_turn_offset(g, cell_x, cell_y);
    g.origin_x += step.x, g.origin_y += step.y;
  }
  return 0;
}

}  // namespace

int shape_text_outline(DrawDevice& dev, shape_record& s, int mode) {
  std::int32_t old = 0;
  if (get_named_var_int("old_shape_text", &old) >= 0 && old != 0) return shape_text_outline_old(dev, s, mode);
  if (mode == 1 && s.outline_measured) return 0;
  const bool prop = s.propfonts != 0;
  if (mode == 0 && !prop && s.outline_measured) {
    const view_box& z = render.zbox;
    if (s.box_x_min > z.x_max || s.box_y_min > z.y_max || s.box_x_max < z.x_min || s.box_y_max < z.y_min) return 0;
  }
  FontEngine& fonts = dev.font_engine();
  const font_spec font = shape_font(s, 1000);
  font_metrics m;
  if (!fonts.metrics(font, m) || m.average_char_width <= 0) return -1;
  const bool log_x = prop && graph.graph_hscale_log, log_y = prop && graph.graph_vscale_log;
  const proportion_scope scope(prop);
  const double r = prop ? render.px_per_unit_y / render.px_per_unit_x : 1;

  glyph_transform g;
  g.sin = std::sin(s.rotate), g.cos = std::cos(s.rotate);
  g.aspect_r = r;
  g.scale_y = log_y ? std::log10(s.top / s.bottom) / 1000 : (s.top - s.bottom) / 1000;
  g.scale_x = s.right == s.left ? g.scale_y : (s.right - s.left) / m.average_char_width;
  const int blank = fonts.extent(font, " ").cx;
  const std::string_view chars = shape_chars(s);
  double d = 0;
  if (s.justify != 0) {
    long long w = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) w += fonts.extent(font, chars.substr(i, 1)).cx;
    const double width = static_cast<double>(w) * g.scale_x * r;
    d = s.justify == 1 ? -width / 2 : -width;
  }
  if (prop) {
    text_turn turn;
    turn.sin = g.sin, turn.cos = g.cos, turn.r = r, turn.log_x = log_x, turn.log_y = log_y;
    double px, py;
    text_rotate_point(turn, s.rotation_centre_x, s.rotation_centre_y, s.left, s.bottom, d, 0, &px, &py, &g.origin_x,
                      &g.origin_y);
    if (mode == 1) graph_widen_extents(px, py);
  } else {
    const double u = s.left - s.rotation_centre_x + d, v = s.bottom - s.rotation_centre_y;
    g.origin_x = s.rotation_centre_x + u * g.cos - v * g.sin;
    g.origin_y = s.rotation_centre_y + u * g.sin + v * g.cos;
  }
  if (mode == 1) {
    s.box_x_max = s.box_y_max = -HUGE_VAL;
    s.box_x_min = s.box_y_min = HUGE_VAL;
  }
  const view_box& z = render.zbox;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const unsigned char ch = static_cast<unsigned char>(chars[i]);
    double cell_x = blank, cell_y = 0;
    const double advance = ch == ' ' ? blank : fonts.extent(font, chars.substr(i, 1)).cx;
    if (ch != ' ' && mode == 0 && !glyph_cell_may_meet(g, advance, m.height, z)) {
      cell_x = advance;  // far out of view: only its advance, no outline fetched
    } else if (ch != ' ') {
      glyph_outline outline;
      const bool has_glyph = fonts.outline(font, ch, outline);
      if (!has_glyph) {
        if (mode == 1) s.characters[i] = ' ';  // no glyph in this face: a blank from now on
      } else {
        cell_x = outline.cell_inc_x, cell_y = outline.cell_inc_y;
      }
      if (has_glyph && !outline.contours.empty()) {
        glyph_box b = glyph_turned_box(outline, g);
        if (mode == 1) {
          glyph_box data = b;
          data.x_min = pow10_axis(log_x, b.x_min), data.x_max = pow10_axis(log_x, b.x_max);
          data.y_min = pow10_axis(log_y, b.y_min), data.y_max = pow10_axis(log_y, b.y_max);
          widen_record_box(s, data);
          if (!prop) {
            graph_widen_extents(b.x_min, b.y_min);
            graph_widen_extents(b.x_max, b.y_max);
          }
        } else if (glyph_box_meets(b, z)) {
          text_glyph_to_path(dev, outline, g, path_end_rule(s));
        }
      }
    }
    if (mode == 1) s.outline_measured = 1;
    const graph_point step = glyph_turn_offset(g, cell_x, cell_y);
    g.origin_x += step.x, g.origin_y += step.y;
  }
  return 0;
}

int measure_text_shapes(DrawDevice& dev) {
  for (int i = 0; i < shapes.shape_count; ++i) {
    shape_record& s = shapes.records[static_cast<std::size_t>(i)];
    if (s.kind == SW_TEXT) shape_text_outline(dev, s, 1);
  }
  shapes.text_shapes_changed = 0;
  return 0;
}

int shape_text_outline_points(FontEngine& fonts, shape_record& s, std::vector<graph_point>& out) {
  const font_spec font = shape_font(s, 100);
  font_metrics m;
  if (!fonts.metrics(font, m) || m.average_char_width <= 0) return -1;
  glyph_transform g;
  g.sin = std::sin(s.rotate), g.cos = std::cos(s.rotate);
  g.scale_y = (s.top - s.bottom) / 100;
  g.scale_x = s.right == s.left ? g.scale_y : (s.right - s.left) / m.average_char_width;
  g.origin_x = s.left, g.origin_y = s.bottom;
  glyph_outline outline;
  const std::string_view chars = shape_chars(s);
  if (!chars.empty()) glyph_fetch(fonts, font, static_cast<unsigned char>(chars[0]), outline);
  try {
    out = glyph_outline_point_array(outline, g);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return 0;
}

int shape_charoutline_to_array() {
  const int saved_head = shapes.shape_group_head, saved_id = shapes.shape_id_counter;
  const int count_before = shapes.shape_count;
  int r = shape_add();
  shapes.shape_group_head = saved_head;
  shapes.shape_id_counter = saved_id;
  if (r < 0) return r;
  if (shapes.shape_count <= count_before) return 0;  // only parsed
  shape_record s = shapes.records[static_cast<std::size_t>(shapes.shape_count - 1)];
  shapes.records.pop_back();
  --shapes.shape_count;
  const int index = shape_param.polypoints;
  if (index < 0 || static_cast<std::uint32_t>(index) >= array_count) return report_error(287);
  const array_entry& target = array_table[index];
  if (target.type != ITEM_DOUBLE || target.dimension_count != 2 || target.dimension_sizes[1] != 2)
    return report_error(287);
  std::vector<graph_point> points;
  if (shape_text_outline_points(graph_font_engine(), s, points) < 0) return -1;
  const std::size_t n = points.size();
  value_slot* data = static_cast<value_slot*>(store_allocator(n * 2, sizeof(value_slot)));
  if (!data) return -1;
  for (std::size_t i = 0; i < n; ++i) {
    data[2 * i].number = points[i].x;
    data[2 * i + 1].number = points[i].y;
  }
  array_entry& a = array_table[index];
  free_array_data(a);
  a.data = data;
  a.dimension_count = 2;
  a.dimension_sizes[0] = static_cast<std::uint32_t>(n);
  a.dimension_sizes[1] = 2;
  return 0;
}

namespace {
// A count or kind read from the array: trunc(v) when finite and within
// 0..limit, else -1.
int array_int(double v, int limit) {
  if (!(v >= 0 && v <= limit)) return -1;
  return static_cast<int>(v);
}
}  // namespace

int shape_draw_plotcharoutline(DrawDevice& dev, shape_record& s, int) {
  const graph_point* p = s.points.data();
  const int count = std::min(s.count, static_cast<int>(s.points.size()));
  if (count < 1) return 0;
  const bool opened = glyph_path_begin(dev);
  const int contours = array_int(p[0].x, count);
  int at = 1;
  std::vector<graph_point> list;
  for (int c = 0; c < contours && at + 1 < count; ++c) {
    const int curves = array_int(p[at].x, count);
    graph_point current = p[at + 1];
    at += 2;
    view_path_line_to(dev, current.x, current.y);
    for (int k = 0; k < curves && at < count; ++k) {
      const int n = array_int(p[at].x, count);
      const int type = array_int(p[at].y, 3);
      ++at;
      if (n < 0 || at + n > count) {
        at = count;  // a count that runs past the array ends the walk
        break;
      }
      if (type == 1) {
        list.assign(1, current);
        list.insert(list.end(), p + at, p + at + n);
        view_draw_polyline(dev, list.data(), static_cast<int>(list.size()), 1);
        current = list.back();
      } else if (type == 3) {
        for (int i = 0; i + 3 <= n; i += 3) {  // whole groups of three only
          shape_record b;
          b.linestart_x = current.x, b.linestart_y = current.y;
          b.ctlpt1_x = p[at + i].x, b.ctlpt1_y = p[at + i].y;
          b.ctlpt2_x = p[at + i + 1].x, b.ctlpt2_y = p[at + i + 1].y;
          b.lineend_x = p[at + i + 2].x, b.lineend_y = p[at + i + 2].y;
          shape_draw_bezier(dev, b);
          current = p[at + i + 2];
        }
      }
      at += n;
    }
    view_path_close_figure(dev);
    render.figure_open = 0;
  }
  glyph_path_finish(dev, opened, path_end_rule(s));
  return 0;
}
