// Clipped Bezier drawing by subdivision, and rounding and smoothing of point
// lists into Bezier pieces.
#include "graph/curves.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "graph/clip.h"

namespace {

bool strictly_inside(const view_box& b, graph_point p) {
  return p.x > b.x_min && p.x < b.x_max && p.y > b.y_min && p.y < b.y_max;
}

// t of the aim value on the line from a to b (one coordinate).
double aim_parameter(double aim, double a, double b) { return (aim - a) / (b - a); }

// Appends n clipped points, flushing first when they would not fit.
void append_points(DrawDevice& dev, const graph_point* q, int n, graph_point* buffer, int* count, int cont) {
  if (*count + n > bezier_buffer_points) bezier_flush(dev, buffer, count, cont);
  for (int i = 0; i < n; ++i) buffer[(*count)++] = q[i];
}

void append_clipped(DrawDevice& dev, graph_point a, graph_point b, graph_point* buffer, int* count, int cont) {
  graph_point q[4];
  view_clip_segment(a.x, a.y, b.x, b.y, q);
  append_points(dev, q, 4, buffer, count, cont);
}

}  // namespace

void bezier_flush(DrawDevice& dev, graph_point* buffer, int* count, int cont) {
  if (*count <= 0) return;
  int n = view_remove_redundant_points(buffer, *count);
  view_polyline_to_device(dev, buffer, n, cont);
  *count = 0;
}

void bezier_split(const graph_point p[4], double t, graph_point left[4], graph_point right[4]) {
  auto lerp = [t](graph_point a, graph_point b) { return graph_point{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}; };
  graph_point l1 = lerp(p[0], p[1]), l2 = lerp(p[1], p[2]), l3 = lerp(p[2], p[3]);
  graph_point m1 = lerp(l1, l2), m2 = lerp(l2, l3);
  graph_point s = lerp(m1, m2);
  left[0] = p[0], left[1] = l1, left[2] = m1, left[3] = s;
  right[0] = s, right[1] = m2, right[2] = l3, right[3] = p[3];
}

double bezier_split_parameter(const view_box& z, const view_box& s, const graph_point p[4], int depth) {
  if (depth < 4) return 0.5;
  const graph_point p0 = p[0], p3 = p[3];
  const double xl = (z.x_min + s.x_min) / 2, xr = (z.x_max + s.x_max) / 2;
  const double yb = (z.y_min + s.y_min) / 2, yt = (z.y_max + s.y_max) / 2;
  const double cx = s.x_mid, cy = s.y_mid;
  const bool in0 = strictly_inside(z, p0), in3 = strictly_inside(z, p3);
  double t = 0.5;
  if (in0 && in3) {
    t = 0.5;
  } else if (in3 || in0) {
    // Aim at the band on the side of the outer end; measured from p0.
    const graph_point outer = in3 ? p0 : p3;
    const bool x_outside = outer.x < z.x_min || outer.x > z.x_max;
    if (x_outside) {
      const bool right = outer.x > cx;
      t = aim_parameter(right ? xr : xl, p0.x, p3.x);
      if (in3 ? t >= 1 : t <= 0) t = aim_parameter(right ? z.x_max : z.x_min, p0.x, p3.x);
    } else {
      const bool top = outer.y > cy;
      t = aim_parameter(top ? yt : yb, p0.y, p3.y);
      if (in3 ? t >= 1 : t <= 0) t = aim_parameter(top ? z.y_max : z.y_min, p0.y, p3.y);
    }
  } else if ((p0.x < z.x_min && p3.x > z.x_max) || (p0.x > z.x_max && p3.x < z.x_min)) {
    t = aim_parameter(cx, p0.x, p3.x);
  } else if ((p0.y < z.y_min && p3.y > z.y_max) || (p0.y > z.y_max && p3.y < z.y_min)) {
    t = aim_parameter(cy, p0.y, p3.y);
  }
  // A split at or beyond an end would not shrink the curve.
  if (!(t > 0 && t < 1)) t = 0.5;
  return t;
}

int view_draw_bezier(DrawDevice& dev, const graph_point p[4], int* depth, graph_point* buffer, int* count, int cont) {
  const view_box& z = render.zbox;
  const view_box& s = render.screen_box;
  const double mx = 0.1 * (s.x_max - s.x_min), my = 0.1 * (s.y_max - s.y_min);
  double rx0 = p[0].x, rx1 = p[0].x, ry0 = p[0].y, ry1 = p[0].y;
  for (int i = 1; i < 4; ++i) {
    rx0 = std::min(rx0, p[i].x), rx1 = std::max(rx1, p[i].x);
    ry0 = std::min(ry0, p[i].y), ry1 = std::max(ry1, p[i].y);
  }
  if (rx1 < s.x_min - mx || rx0 > s.x_max + mx || ry1 < s.y_min - my || ry0 > s.y_max + my) {
    append_clipped(dev, p[0], p[3], buffer, count, cont);  // out of sight: its chord
    return 0;
  }
  if (rx0 >= z.x_min && rx1 <= z.x_max && ry0 >= z.y_min && ry1 <= z.y_max) {
    bezier_flush(dev, buffer, count, cont);
    view_bezier_to_device(dev, p, cont);
    return 0;
  }
  // Crossing the z box edge: does the control polygon touch the box at all?
  static const int edges[4][2] = {{0, 3}, {3, 2}, {2, 1}, {1, 0}};
  bool touches = false;
  unsigned corners = 0;  // bit per z box corner seen among the missing edges' points
  for (const auto& e : edges) {
    graph_point q[4];
    if (view_clip_segment(p[e[0]].x, p[e[0]].y, p[e[1]].x, p[e[1]].y, q) != 0) {
      touches = true;
      break;
    }
    for (const graph_point& c : q) {
      if (c.x == z.x_min && c.y == z.y_min) corners |= 1;
      if (c.x == z.x_max && c.y == z.y_min) corners |= 2;
      if (c.x == z.x_max && c.y == z.y_max) corners |= 4;
      if (c.x == z.x_min && c.y == z.y_max) corners |= 8;
    }
  }
  if (!touches && corners != 15) {
    append_clipped(dev, p[0], p[3], buffer, count, cont);
    return 0;
  }
  if (*depth < bezier_max_depth) {
    graph_point left[4], right[4];
    bezier_split(p, bezier_split_parameter(z, s, p, *depth), left, right);
    ++*depth;
    view_draw_bezier(dev, left, depth, buffer, count, cont);
    view_draw_bezier(dev, right, depth, buffer, count, cont);
    --*depth;
    return 0;
  }
  const graph_point a{(p[0].x + p[1].x) / 2, (p[0].y + p[1].y) / 2};
  const graph_point b{(p[2].x + p[3].x) / 2, (p[2].y + p[3].y) / 2};
  graph_point q[12];
  view_clip_segment(p[0].x, p[0].y, a.x, a.y, q);
  view_clip_segment(a.x, a.y, b.x, b.y, q + 4);
  view_clip_segment(b.x, b.y, p[3].x, p[3].y, q + 8);
  append_points(dev, q, 12, buffer, count, cont);
  return 0;
}

namespace {

// Control points around m with neighbours a (before) and c (after).
void controls(graph_point a, graph_point m, graph_point c, double s, graph_point& before, graph_point& after) {
  const double dp = std::hypot(m.x - a.x, m.y - a.y), dn = std::hypot(m.x - c.x, m.y - c.y);
  if (!(dp + dn > 0)) {  // three equal points: no spike
    before = after = m;
    return;
  }
  const double tx = c.x - a.x, ty = c.y - a.y;
  before = {m.x - dp / (dp + dn) * tx * s, m.y - dp / (dp + dn) * ty * s};
  after = {m.x + dn / (dp + dn) * tx * s, m.y + dn / (dp + dn) * ty * s};
}

graph_point rounded(graph_point prev, graph_point m, graph_point next, double a) {
  return {m.x - (m.x - (prev.x + next.x) / 2) * a, m.y - (m.y - (prev.y + next.y) / 2) * a};
}

}  // namespace

bool smooth_curve_points(const graph_point* p, int n, double smooth, double average, int closed,
                         std::vector<graph_point>& q, std::vector<graph_point>& before,
                         std::vector<graph_point>& after) {
  if (n < 2) return false;
  const std::size_t count = static_cast<std::size_t>(n);
  q.assign(p, p + n);
  if (average > 0) {
    const double a = average / 20;
    for (std::size_t i = 1; i + 1 < count; ++i) q[i] = rounded(p[i - 1], p[i], p[i + 1], a);
    if (closed && n >= 3) {
      q[count - 1] = rounded(p[count - 2], p[count - 1], p[1], a);
      q[0] = q[count - 1];
    }
  }
  before.assign(count, {});
  after.assign(count, {});
  const double s = smooth / 20;
  for (std::size_t i = 1; i + 1 < count; ++i) controls(q[i - 1], q[i], q[i + 1], s, before[i], after[i]);
  after[0] = q[0];
  before[count - 1] = q[count - 1];
  if (closed && n >= 3) {
    graph_point b, a;
    controls(q[count - 2], q[count - 1], q[1], s, b, a);
    before[count - 1] = b;
    after[0] = a;
  }
  return true;
}

int view_draw_smooth_curve(DrawDevice& dev, const graph_point* p, int n, double smooth, double average, int closed,
                           int cont) {
  if (n < 2) return 0;
  std::vector<graph_point> q, before, after;
  try {
    smooth_curve_points(p, n, smooth, average, closed, q, before, after);
  } catch (const std::bad_alloc&) {
    return 0;  // without the copies nothing is drawn
  }
  if (smooth <= 0) return view_draw_polyline(dev, q.data(), n, cont);
  graph_point buffer[bezier_buffer_points];
  int count = 0;
  for (int i = 0; i + 1 < n; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    const graph_point piece[4] = {q[k], after[k], before[k + 1], q[k + 1]};
    int depth = 0;
    view_draw_bezier(dev, piece, &depth, buffer, &count, cont);
    bezier_flush(dev, buffer, &count, cont);
  }
  return 0;
}
