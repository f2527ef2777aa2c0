// Glyph outlines into data units and into the outline point array.
#include "graph/text_glyphs.h"

#include <algorithm>

#include "graph/clip.h"
#include "graph/curves.h"

graph_point glyph_turn_offset(const glyph_transform& t, double dx, double dy) {
  const double u = dx * t.scale_x, v = dy * t.scale_y;
  return {(u * t.cos - v * t.sin) * t.aspect_r, u * t.sin + v * t.cos};
}

graph_point glyph_transform_point(const glyph_transform& t, double fx, double fy) {
  graph_point p = glyph_turn_offset(t, fx, fy);
  return {p.x + t.origin_x, p.y + t.origin_y};
}

bool glyph_fetch(FontEngine& fonts, const font_spec& font, unsigned char ch, glyph_outline& out) {
  if (fonts.outline(font, ch, out)) return !out.contours.empty();
  // No glyph in this face: it takes a blank's room and draws nothing.
  glyph_outline blank;
  if (!fonts.outline(font, ' ', blank)) blank.cell_inc_x = fonts.extent(font, " ").cx;
  out = {};
  out.cell_inc_x = blank.cell_inc_x;
  out.cell_inc_y = blank.cell_inc_y;
  return false;
}

glyph_box glyph_turned_box(const glyph_outline& g, const glyph_transform& t) {
  const double ox = g.origin_x, oy = g.origin_y, w = g.black_box_x, h = g.black_box_y;
  const double xs[4] = {ox, ox + w, ox + w, ox};
  const double ys[4] = {oy - h, oy - h, oy, oy};
  glyph_box b;
  for (int i = 0; i < 4; ++i) {
    graph_point p = glyph_transform_point(t, xs[i], ys[i]);
    if (i == 0) {
      b = {p.x, p.x, p.y, p.y};
      continue;
    }
    b.x_min = std::min(b.x_min, p.x), b.x_max = std::max(b.x_max, p.x);
    b.y_min = std::min(b.y_min, p.y), b.y_max = std::max(b.y_max, p.y);
  }
  return b;
}

bool glyph_box_meets(const glyph_box& b, const view_box& z) {
  return b.x_min <= z.x_max && b.y_min <= z.y_max && b.x_max >= z.x_min && b.y_max >= z.y_min;
}

bool glyph_cell_may_meet(const glyph_transform& t, double cell_x, double em, const view_box& z) {
  glyph_outline cell;
  cell.origin_x = static_cast<int>(-em / 2);
  cell.origin_y = static_cast<int>(em * 1.5);
  cell.black_box_x = static_cast<int>(cell_x + em);
  cell.black_box_y = static_cast<int>(em * 2);
  return glyph_box_meets(glyph_turned_box(cell, t), z);
}

int glyph_contour_entries(const glyph_outline& g) {
  int n = 0;
  for (const glyph_contour& c : g.contours) {
    n += 2;
    for (const glyph_segment& s : c.segments) n += 1 + static_cast<int>(s.points.size());
  }
  return n;
}

std::vector<graph_point> glyph_outline_point_array(const glyph_outline& g, const glyph_transform& t) {
  std::vector<graph_point> a;
  a.reserve(1 + static_cast<std::size_t>(glyph_contour_entries(g)) + 5);
  a.push_back({0, 0});
  for (const glyph_contour& c : g.contours) {
    a.push_back({static_cast<double>(c.segments.size()), 0});
    a.push_back(glyph_transform_point(t, c.start.x, c.start.y));
    for (const glyph_segment& s : c.segments) {
      a.push_back({static_cast<double>(s.points.size()), static_cast<double>(s.kind)});
      for (const glyph_point& p : s.points) a.push_back(glyph_transform_point(t, p.x, p.y));
    }
  }
  if (!g.contours.empty()) a[0] = {static_cast<double>(g.contours.size()), static_cast<double>(a.size())};

  graph_point pen = glyph_transform_point(t, g.cell_inc_x, g.cell_inc_y);
  glyph_box b;
  if (g.contours.empty()) {
    b = {t.origin_x, t.origin_x, t.origin_y, t.origin_y};
  } else {
    b = glyph_turned_box(g, t);
  }
  a.push_back(pen);
  a.push_back({b.x_min, b.y_min});
  a.push_back({b.x_max, b.y_min});
  a.push_back({b.x_max, b.y_max});
  a.push_back({b.x_min, b.y_max});
  return a;
}

// ---- drawing into the device path ----

namespace {
// One clipped cubic from the current point p[0] into the open figure.
void glyph_cubic(DrawDevice& dev, const graph_point p[4]) {
  graph_point buffer[bezier_buffer_points];
  int count = 0, depth = 0;
  view_draw_bezier(dev, p, &depth, buffer, &count, render.path_active);
  if (count > 0) bezier_flush(dev, buffer, &count, render.path_active);
  if (render.path_active) {
    render.path_current_x = p[3].x;
    render.path_current_y = p[3].y;
  }
}
}  // namespace

void text_glyph_contour_to_path(DrawDevice& dev, const glyph_contour& c, const glyph_transform& t) {
  graph_point current = glyph_transform_point(t, c.start.x, c.start.y);
  const graph_point start = current;
  // The start point only becomes the current point: a figure left open
  // before (in a path group) stays as it is, never joined to the glyph.
  render.figure_open = 0;
  view_path_line_to(dev, current.x, current.y);
  std::vector<graph_point> list;
  for (const glyph_segment& s : c.segments) {
    if (s.kind == glyph_segment::line) {
      list.clear();
      list.push_back(current);
      for (const glyph_point& p : s.points) list.push_back(glyph_transform_point(t, p.x, p.y));
      view_draw_polyline(dev, list.data(), static_cast<int>(list.size()), 1);
      current = list.back();
    } else if (s.kind == glyph_segment::cubic) {
      for (std::size_t i = 0; i + 3 <= s.points.size(); i += 3) {
        const graph_point p[4] = {current, glyph_transform_point(t, s.points[i].x, s.points[i].y),
                                  glyph_transform_point(t, s.points[i + 1].x, s.points[i + 1].y),
                                  glyph_transform_point(t, s.points[i + 2].x, s.points[i + 2].y)};
        glyph_cubic(dev, p);
        current = p[3];
      }
    }
  }
  view_path_line_to(dev, start.x, start.y);
  view_path_close_figure(dev);
  render.figure_open = 0;
}

bool glyph_path_begin(DrawDevice& dev) {
  if (render.path_active) return false;
  render.figure_open = 0;
  dev.begin_path();
  render.path_active = 1;
  return true;
}

void glyph_path_finish(DrawDevice& dev, bool opened, int rule) {
  if (!opened) return;
  dev.end_path();
  render.path_active = 0;
  switch (rule) {
    case glyph_stroke: dev.stroke_path(); break;
    case glyph_fill: dev.fill_path(); break;
    default: dev.stroke_and_fill_path(); break;
  }
}

void text_glyph_to_path(DrawDevice& dev, const glyph_outline& g, const glyph_transform& t, int rule) {
  const bool opened = glyph_path_begin(dev);
  for (const glyph_contour& c : g.contours) text_glyph_contour_to_path(dev, c, t);
  glyph_path_finish(dev, opened, rule);
}
