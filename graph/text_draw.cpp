// Text drawing: device-font texts, sub- and superscript runs, boxes, the axis
// titles, and the hand-over of tall texts to glyph-outline drawing.
#include "graph/text_draw.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "graph/axes.h"
#include "graph/clip.h"
#include "graph/graph_state.h"
#include "graph/scales.h"
#include "graph/text_glyphs.h"
#include "graph/text_measure.h"
#include "graph/text_table.h"
#include "interpreter/errors.h"

std::string text_title_with_date(std::string_view title, bool with_date, std::string_view date_text) {
  std::string out;
  std::size_t at = with_date ? title.find("&date") : std::string_view::npos;
  if (at == std::string_view::npos) {
    out = title;
  } else {
    out.reserve(title.size() + date_text.size());
    out.append(title.substr(0, at));
    out.append(date_text);
    out.append(title.substr(at + 5));
  }
  if (out.size() > text_title_limit) out.resize(text_title_limit);
  return out;
}

std::vector<text_run> text_subsup_runs(FontEngine& fonts, const font_spec& full, const font_spec& small,
                                       std::string_view line, int justify, int x, int y, int h, double s,
                                       double c) {
  auto font_of = [&](int level) -> const font_spec& { return level == 0 ? full : small; };
  if (justify != 0) {
    long long width = 0;
    int level = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
      unsigned char ch = static_cast<unsigned char>(line[i]);
      if (text_is_shift(ch)) {
        level = text_next_level(level, ch);
        continue;
      }
      width += fonts.extent(font_of(level), line.substr(i, 1)).cx;
    }
    double o = justify == 1 ? -static_cast<double>(width) / 2 : -static_cast<double>(width);
    x += graph_pixel(o * c);
    y -= graph_pixel(o * s);
  }
  const double raise = 0.27 * h, lower = -0.25 * h;
  std::vector<text_run> runs;
  int level = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    bool end = i == line.size();
    if (!end && !text_is_shift(static_cast<unsigned char>(line[i]))) continue;
    text_run run;
    run.text = line.substr(start, i - start);
    run.level = level;
    double shift = level > 0 ? raise : level < 0 ? lower : 0;
    run.x = x - graph_pixel(shift * s);
    run.y = y - graph_pixel(shift * c);
    if (!run.text.empty()) runs.push_back(run);
    if (end) break;
    int cx = run.text.empty() ? 0 : fonts.extent(font_of(level), run.text).cx;
    x += graph_pixel(cx * c);
    y -= graph_pixel(cx * s);
    level = text_next_level(level, static_cast<unsigned char>(line[i]));
    start = i + 1;
  }
  return runs;
}

// ---- with the graph's state ----

namespace {

// The anchor's device pixel: x rounded, y truncated (no half pixel).
draw_point anchor_px(const text_view& v, double ax, double ay) {
  return {graph_pixel((ax + v.hoffset) * v.px_per_unit_x + 0.5) + v.plot_left_px,
          v.plot_height_px - 1 - graph_pixel((ay + v.voffset) * v.px_per_unit_y) + v.plot_top_px};
}
double axis_value(bool log_axis, double v) { return log_axis ? std::log10(v) : v; }

// The device font of a text h pixels high, turned by e tenths of a degree.
font_spec device_font(const text_record& t, int h, int e) {
  font_spec f;
  f.height = std::max(1, h);
  f.escapement = e;
  f.weight = t.bold == 1 ? 700 : 0;
  f.italic = t.italic != 0;
  f.face = t.font;
  return f;
}

int justify_align(int justify) {
  switch (justify) {
    case 0: return text_align_baseline | text_align_left;
    case 2: return text_align_baseline | text_align_right;
    default: return text_align_baseline | text_align_center;
  }
}

pen_spec solid_pen(int width, draw_color color) {
  pen_spec p;
  p.style = pen_style::solid;
  p.width = width;
  p.color = color;
  return p;
}
brush_spec solid_brush(draw_color color) {
  brush_spec b;
  b.kind = brush_kind::solid;
  b.color = color;
  return b;
}

// The em height of a text in vertical data units (log10 units on a log axis).
double em_height(const text_record& t, const text_view& v) {
  if (t.datasize != 0) return t.datasize;
  const double s = t.size > 0 ? t.size : text_default_points;
  return s / 72 * v.px_per_inch_y / v.px_per_unit_y;
}

// Runs f with the view boxes in axis units and points taken as axis units,
// so that log axes are handled by the caller's log10 values.
template <typename F>
void in_axis_units(F f) {
  render.points_in_log_units = 1;
  view_enter_log_units();
  f();
  view_leave_log_units();
  render.points_in_log_units = 0;
}

// The box of a device-font text: a closed line about the measured box.
void draw_text_box(DrawDevice& dev, const text_record& t, const text_view& v, int h) {
  dev.select_pen(solid_pen(h / 12, 0));
  const double k = em_height(t, v) / 1000;
  text_turn turn;
  turn.sin = std::sin(t.angle), turn.cos = std::cos(t.angle);
  turn.r = v.px_per_unit_y / v.px_per_unit_x;
  const double ax = axis_value(v.log_x, t.pos_x), ay = axis_value(v.log_y, t.pos_y);
  const double L = t.em_left * k * turn.r, R = t.em_right * k * turn.r, T = t.em_top * k, B = t.em_bottom * k;
  const double xs[5] = {L, R, R, L, L}, ys[5] = {B, B, T, T, B};
  graph_point p[5];
  for (int i = 0; i < 5; ++i) text_rotate_offset(turn, ax, ay, xs[i], ys[i], &p[i].x, &p[i].y, nullptr, nullptr);
  in_axis_units([&] { view_draw_polyline(dev, p, 5, 0); });
}

// One title: font, place and text. 0 or the reported -280.
int draw_title(DrawDevice& dev, const text_record& title, double pt, int escapement, int align, int x, int y,
               bool datetime, const std::string& date_text) {
  font_spec f = device_font(title, graph_pixel(pt * render.px_per_inch_y / 72), escapement);
  font_metrics m;
  if (!dev.font_engine().metrics(f, m)) return report_error(280);
  dev.select_font(f);
  dev.set_text_align(align);
  dev.set_text_color(title.color);
  dev.text_out(x, y, text_title_with_date(text_record_text(title), datetime, date_text));
  return 0;
}

int draw_titles(DrawDevice& dev, const text_view& v) {
  if (!graph.graph_axes) return 0;
  const text_record& xt = texts.xaxis_title;
  if (text_record_in_use(xt)) {
    const int d = texts.xaxis_title_tm.descent, p = texts.xaxis_title_pen_px;
    const int x = graph_pixel(v.plot_width_in * xt.x / 100 * v.px_per_inch_x) + v.plot_left_px;
    const bool near_top = v.plot_height_px - axes.xaxis_pos_px < v.px_per_inch_y;
    const double row = near_top ? axes.xaxis_pos_px + (d * 8 / 5 + p / 2) : axes.xaxis_pos_px - (p * 2 / 3);
    const int align = text_align_center | (near_top ? text_align_baseline : text_align_top);
    const int y = v.plot_height_px - 1 - graph_pixel(row) + v.plot_top_px;
    int r = draw_title(dev, xt, texts.xaxis_title_pt, 0, align, x, y, graph.graph_hscale_datetime != 0,
                       texts.xaxis_date_text);
    if (r < 0) return r;
  }
  const text_record& yt = texts.yaxis_title;
  if (text_record_in_use(yt)) {
    const int d = texts.yaxis_title_tm.descent, p = texts.yaxis_title_pen_px;
    const bool near_right = v.plot_width_px - axes.yaxis_pos_px < 1.5 * v.px_per_inch_x;
    const double column = near_right ? axes.yaxis_pos_px + (p * 2 / 3) : axes.yaxis_pos_px - (d * 8 / 5 + p / 2);
    const int align = text_align_center | (near_right ? text_align_top : text_align_baseline);
    const int x = graph_pixel(column) + v.plot_left_px;
    const int y = v.plot_height_px - 1 - graph_pixel(v.plot_height_in * yt.y / 100 * v.px_per_inch_y) + v.plot_top_px;
    int r = draw_title(dev, yt, texts.yaxis_title_pt, 900, align, x, y, graph.graph_vscale_datetime != 0,
                       texts.yaxis_date_text);
    if (r < 0) return r;
  }
  return 0;
}

}  // namespace

int text_draw_item_subsup(DrawDevice& dev, const text_record& t, const text_view& v, int h) {
  FontEngine& fonts = dev.font_engine();
  const double s = std::sin(t.angle), c = std::cos(t.angle);
  const int e = graph_pixel(t.angle * 180 / std::numbers::pi * 10 + 0.5);
  h = std::max(1, h);
  const font_spec full = device_font(t, h, e);
  const font_spec small = device_font(t, std::max(1, 2 * h / 3), e);
  font_metrics m;
  if (!fonts.metrics(full, m) || !fonts.metrics(small, m)) return report_error(280);
  draw_point at = anchor_px(v, axis_value(v.log_x, t.pos_x), axis_value(v.log_y, t.pos_y));
  dev.set_text_color(t.color);
  text_lines lines(text_record_text(t));
  std::string_view line;
  while (lines.next(line)) {
    if (!text_line_has_shift(line)) {
      dev.select_font(full);
      dev.set_text_align(justify_align(t.justify));
      dev.text_out(at.x, at.y, line);
    } else {
      dev.set_text_align(text_align_baseline | text_align_left);
      for (const text_run& run : text_subsup_runs(fonts, full, small, line, t.justify, at.x, at.y, h, s, c)) {
        dev.select_font(run.level == 0 ? full : small);
        dev.text_out(run.x, run.y, run.text);
      }
    }
    at.y += graph_pixel(h * c);
    at.x += graph_pixel(h * s);
  }
  return 0;
}

int text_draw_item_outline(DrawDevice& dev, const text_record& t, const text_view& v) {
  if (!text_record_in_use(t)) return -1;
  FontEngine& fonts = dev.font_engine();
  font_spec font = text_measure_font(t.bold, t.italic, t.font);
  font_metrics m;
  if (!fonts.metrics(font, m)) return -1;
  const double k = em_height(t, v) / 1000;
  text_turn turn;
  turn.sin = std::sin(t.angle), turn.cos = std::cos(t.angle);
  turn.r = v.px_per_unit_y / v.px_per_unit_x;
  const double H = m.height;
  const int blank = fonts.extent(font, " ").cx;
  // Pens, anchor and boxes in axis units (log10 on a log axis) throughout.
  const double ax = axis_value(v.log_x, t.pos_x), ay = axis_value(v.log_y, t.pos_y);
  dev.select_pen(solid_pen(0, t.color));
  dev.select_brush(solid_brush(t.color));
  dev.set_fill_winding(true);
  dev.set_background_transparent(true);
  in_axis_units([&] {
    const view_box& z = render.zbox;
    text_lines lines(text_record_text(t));
    std::string_view line;
    for (int n = 0; lines.next(line); ++n) {
      double dx = 0;
      if (t.justify != 0) {
        bool shifted = false;
        long long w = 0;
        if (text_line_has_shift(line)) {
          w = text_line_width(fonts, font, line, shifted);
        } else {
          for (std::size_t i = 0; i < line.size(); ++i) w += fonts.extent(font, line.substr(i, 1)).cx;
        }
        const double width = static_cast<double>(w) * k * turn.r;
        dx = t.justify == 1 ? -width / 2 : -width;
      }
      double pen_x, pen_y;
      text_rotate_offset(turn, ax, ay, dx, -H * k * n, &pen_x, &pen_y, nullptr, nullptr);
      int level = 0;
      for (std::size_t i = 0; i < line.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(line[i]);
        if (text_is_shift(ch)) {
          level = text_next_level(level, ch);
          continue;
        }
        const double f = level == 0 ? 1.0 : text_small_factor / 1000.0;
        glyph_transform g;
        g.scale_x = g.scale_y = k * f;
        g.sin = turn.sin, g.cos = turn.cos;
        g.aspect_r = turn.r;
        const double raise = level > 0 ? 0.27 * H * k : level < 0 ? -0.25 * H * k : 0;
        text_rotate_offset(turn, pen_x, pen_y, 0, raise, &g.origin_x, &g.origin_y, nullptr, nullptr);
        double cell_x = blank, cell_y = 0;
        if (ch != ' ') {
          // A glyph far out of view is passed over without fetching its outline.
          const std::vector<int> adv = fonts.advances(font, line.substr(i, 1));
          cell_x = adv.empty() ? 0 : adv[0];
          glyph_outline outline;
          if (glyph_cell_may_meet(g, cell_x, H, z)) {
            if (glyph_fetch(fonts, font, ch, outline) && glyph_box_meets(glyph_turned_box(outline, g), z))
              text_glyph_to_path(dev, outline, g, glyph_stroke_and_fill);
            cell_x = outline.cell_inc_x, cell_y = outline.cell_inc_y;  // without a glyph: a blank's room
          }
        }
        const graph_point step = glyph_turn_offset(g, cell_x, cell_y);
        pen_x += step.x;
        pen_y += step.y;
      }
    }
    if (t.boxed != 1) return;
    // The frame: an outer and an inner rectangle run in opposite directions,
    // so the winding fill leaves the inside open; 1/12 em wide.
    const double T = 1000.0 / 24;
    const double L = t.em_left, R = t.em_right, Tp = t.em_top, B = t.em_bottom;
    const double outer[5][2] = {{L - T, B - T}, {R + T, B - T}, {R + T, Tp + T}, {L - T, Tp + T}, {L - T, B - T}};
    const double inner[5][2] = {{L + T, B + T}, {L + T, Tp - T}, {R - T, Tp - T}, {R - T, B + T}, {L + T, B + T}};
    dev.select_pen(solid_pen(0, 0));
    dev.select_brush(solid_brush(0));
    const bool opened = glyph_path_begin(dev);
    for (const auto* ring : {outer, inner}) {
      graph_point p[5];
      for (int i = 0; i < 5; ++i)
        text_rotate_offset(turn, ax, ay, ring[i][0] * k * turn.r, ring[i][1] * k, &p[i].x, &p[i].y, nullptr,
                           nullptr);
      view_draw_polyline(dev, p, 5, 1);
      view_path_close_figure(dev);
      render.figure_open = 0;
    }
    glyph_path_finish(dev, opened, glyph_stroke_and_fill);
  });
  return 0;
}

int text_draw_all(DrawDevice& dev) {
  FontEngine& fonts = dev.font_engine();
  const text_view v = text_current_view();
  for (int i = 0; i < texts.text_count; ++i) {
    text_record& t = texts.table[static_cast<std::size_t>(i)];
    if (text_measure_item(fonts, t, 0, &v) <= 0) continue;  // empty, out of view, or not measured
    const double s = std::sin(t.angle), c = std::cos(t.angle);
    const double size = t.size > 0 ? t.size : text_default_points;
    int h;
    if (t.datasize > 0) {
      h = graph_pixel(t.datasize * v.px_per_unit_y);
      if (h < 1) continue;
    } else {
      h = graph_pixel(size / 72 * v.px_per_inch_y);
    }
    if (h > text_font_limit_px) {
      text_draw_item_outline(dev, t, v);
      continue;
    }
    if (t.has_shifts) {
      text_draw_item_subsup(dev, t, v, h);
    } else {
      const int e = graph_pixel(t.angle * 180 / std::numbers::pi * 10 + 0.5);
      font_spec f = device_font(t, h, e);
      font_metrics m;
      if (!fonts.metrics(f, m)) return report_error(280);
      dev.select_font(f);
      dev.set_text_align(justify_align(t.justify));
      dev.set_text_color(t.color);
      draw_point at = anchor_px(v, axis_value(v.log_x, t.pos_x), axis_value(v.log_y, t.pos_y));
      text_lines lines(text_record_text(t));
      std::string_view line;
      while (lines.next(line)) {
        dev.text_out(at.x, at.y, line);
        at.y += graph_pixel(h * c);
        at.x += graph_pixel(h * s);
      }
    }
    if (t.boxed == 1) draw_text_box(dev, t, v, h);
  }
  return draw_titles(dev, v);
}
