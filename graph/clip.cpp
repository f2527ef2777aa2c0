// Segment clipping to the z box, redundant points, device conversion and
// the path figure state.
#include "graph/clip.h"

#include <cmath>
#include <new>
#include <vector>

namespace {

graph_point corner_of(const view_box& b, double x, double y) {
  return {x >= b.x_mid ? b.x_max : b.x_min, y >= b.y_mid ? b.y_max : b.y_min};
}

bool inside(const view_box& b, double x, double y) {
  return x >= b.x_min && x <= b.x_max && y >= b.y_min && y <= b.y_max;
}

// The point where the segment from (x1, y1) (outside) enters the box, its
// corner in *corner. False when the line misses the box (entry is then a corner).
bool entry_point(const view_box& b, double x1, double y1, double dx, double dy, graph_point& corner,
                 graph_point& entry) {
  corner = corner_of(b, x1, y1);
  if (dx == 0) {
    entry = {(x1 > b.x_min && x1 < b.x_max) ? x1 : corner.x, corner.y};
    return true;
  }
  if (dy == 0) {
    entry = {corner.x, (y1 > b.y_min && y1 < b.y_max) ? y1 : corner.y};
    return true;
  }
  const double slope = dy / dx;
  double x = x1, y = y1;
  if (y1 > b.y_max || y1 < b.y_min) {
    y = y1 > b.y_max ? b.y_max : b.y_min;
    x = x1 - (y1 - y) / slope;
  }
  if (x > b.x_max || x < b.x_min) {
    x = x >= b.x_min ? b.x_max : b.x_min;
    y = y1 - (x1 - x) * slope;
    if (!(y >= b.y_min && y <= b.y_max)) {
      entry = corner_of(b, x, y);
      return false;
    }
  }
  entry = {x, y};
  return true;
}

bool between(double a, double b, double c) { return (a <= b && b <= c) || (c <= b && b <= a); }

}  // namespace

int clip_segment(const view_box& b, double x1, double y1, double x2, double y2, graph_point q[4]) {
  if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) {
    q[0] = q[1] = q[2] = q[3] = {b.x_min, b.y_min};
    return 0;
  }
  const bool in1 = inside(b, x1, y1), in2 = inside(b, x2, y2);
  if (!in1 && !in2 &&
      ((x1 < b.x_min && x2 < b.x_min) || (x1 > b.x_max && x2 > b.x_max) || (y1 < b.y_min && y2 < b.y_min) ||
       (y1 > b.y_max && y2 > b.y_max))) {
    q[0] = q[1] = corner_of(b, x1, y1);
    q[2] = q[3] = corner_of(b, x2, y2);
    return 0;
  }
  const double dx = x2 / 2 - x1 / 2, dy = y2 / 2 - y1 / 2;  // halves cannot overflow
  int result = (in1 && in2) ? 2 : 1;
  if (in1) {
    q[0] = q[1] = {x1, y1};
  } else if (!entry_point(b, x1, y1, dx, dy, q[0], q[1])) {
    result = 0;
  }
  if (in2) {
    q[2] = q[3] = {x2, y2};
  } else if (!entry_point(b, x2, y2, dx, dy, q[3], q[2])) {
    result = 0;
  }
  return result;
}

int view_remove_redundant_points(graph_point* p, int n) {
  if (n <= 0) return 0;
  int kept = 1;
  for (int i = 1; i < n; ++i) {
    const graph_point pt = p[i];
    if (pt == p[kept - 1]) {
      if (i == n - 1 && kept == 1) p[kept++] = pt;  // a segment keeps two points
      continue;
    }
    p[kept++] = pt;
    if (kept >= 3) {
      const graph_point& a = p[kept - 3];
      const graph_point& m = p[kept - 2];
      const graph_point& c = p[kept - 1];
      const bool same_x = a.x == m.x && m.x == c.x && between(a.y, m.y, c.y);
      const bool same_y = a.y == m.y && m.y == c.y && between(a.x, m.x, c.x);
      if (same_x || same_y) {
        p[kept - 2] = c;
        --kept;
      }
    }
  }
  return kept;
}

int view_clip_segment(double x1, double y1, double x2, double y2, graph_point q[4]) {
  return clip_segment(render.zbox, x1, y1, x2, y2, q);
}

namespace {

draw_point to_device(const pixel_mapping& m, graph_point p) {
  double x = p.x, y = p.y;
  if (!render.points_in_log_units) {
    if (graph.graph_hscale_log) x = std::log10(x);
    if (graph.graph_vscale_log) y = std::log10(y);
  }
  return {map_x(m, x), map_y(m, y)};
}

// Draws device points: a plain run, or the continuation of the path figure.
void draw_run(DrawDevice& dev, const draw_point* d, int n, int cont, bool bezier) {
  if (!cont) {
    if (bezier) dev.poly_bezier(d, static_cast<std::size_t>(n));
    else dev.polyline(d, static_cast<std::size_t>(n));
    return;
  }
  if (!render.figure_open) {
    dev.move_to(d[0].x, d[0].y);
    render.figure_open = 1;
  }
  if (n <= 1) return;
  if (bezier) dev.poly_bezier_to(d + 1, static_cast<std::size_t>(n - 1));
  else dev.polyline_to(d + 1, static_cast<std::size_t>(n - 1));
}

}  // namespace

int view_polyline_to_device(DrawDevice& dev, const graph_point* p, int n, int cont) {
  if (n <= 0) return 0;
  std::vector<draw_point> d;
  try {
    d.resize(static_cast<std::size_t>(n));
  } catch (const std::bad_alloc&) {
    return 0;  // nothing is drawn without the buffer
  }
  const pixel_mapping m = current_mapping();
  for (int i = 0; i < n; ++i) d[static_cast<std::size_t>(i)] = to_device(m, p[i]);
  draw_run(dev, d.data(), n, cont, false);
  return 0;
}

int view_bezier_to_device(DrawDevice& dev, const graph_point p[4], int cont) {
  const pixel_mapping m = current_mapping();
  draw_point d[4];
  for (int i = 0; i < 4; ++i) d[i] = to_device(m, p[i]);
  draw_run(dev, d, 4, cont, true);
  return 0;
}

void view_path_line_to(DrawDevice& dev, double x, double y) {
  if (!render.path_active) return;
  if (!render.figure_open) {
    render.figure_start_x = x;
    render.figure_start_y = y;
    return;
  }
  if (x == render.path_current_x && y == render.path_current_y) return;
  graph_point q[4];
  view_clip_segment(render.path_current_x, render.path_current_y, x, y, q);
  int n = view_remove_redundant_points(q, 4);
  view_polyline_to_device(dev, q, n, 1);
  render.path_current_x = x;
  render.path_current_y = y;
}

void view_path_close_figure(DrawDevice& dev) {
  if (render.path_active && render.figure_open) {
    view_path_line_to(dev, render.figure_start_x, render.figure_start_y);
    dev.close_figure();
  }
  render.figure_open = 0;
}

int view_draw_polyline(DrawDevice& dev, const graph_point* p, int n, int cont) {
  if (n <= 0) return 0;
  view_path_line_to(dev, p[0].x, p[0].y);
  if (n >= 2) {
    std::vector<graph_point> buffer;
    try {
      buffer.resize(4 * static_cast<std::size_t>(n - 1));
    } catch (const std::bad_alloc&) {
      return 0;
    }
    for (int i = 0; i + 1 < n; ++i)
      view_clip_segment(p[i].x, p[i].y, p[i + 1].x, p[i + 1].y, &buffer[4 * static_cast<std::size_t>(i)]);
    int kept = view_remove_redundant_points(buffer.data(), static_cast<int>(buffer.size()));
    view_polyline_to_device(dev, buffer.data(), kept, cont);
  }
  if (render.path_active) {
    render.path_current_x = p[n - 1].x;
    render.path_current_y = p[n - 1].y;
  }
  return 0;
}

void graph_move_to(DrawDevice& dev, double x, double y) {
  const pixel_mapping m = current_mapping();
  dev.move_to(map_x(m, x), map_y(m, y));
}

void graph_line_to(DrawDevice& dev, double x, double y) {
  const pixel_mapping m = current_mapping();
  dev.line_to(map_x(m, x), map_y(m, y));
}
