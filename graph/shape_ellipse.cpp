// The ellipse family: events, their order, and the Bezier pieces (see
// shape_ellipse.h). The drawing that uses them is in shape_draw.cpp.
#include "graph/shape_ellipse.h"

#include <cmath>
#include <utility>

namespace {

bool inside_box(const view_box& box, double x, double y) {
  return x >= box.x_min && x <= box.x_max && y >= box.y_min && y <= box.y_max;
}

bool is_end(double kind) { return kind == double{arc_end_out} || kind == double{arc_end_in}; }

// Parameter angle of the point at offset (dx, dy) from the centre.
double parameter_angle(double dx, double dy, double a, double b, double s, double c) {
  return shape_vector_angle((dx * c + dy * s) / a, (dy * c - dx * s) / b);
}

struct side_crossings {
  arc_event* events;
  int count = 0;
  double a, b, cx, cy, s, c;
  const view_box& box;

  void add(double x, double y, int kind) {
    if (count >= 8) return;  // two roots on each of four sides at most
    const double angle = parameter_angle(x - cx, y - cy, a, b, s, c);
    events[count++] = {angle, static_cast<double>(kind), x, y};
  }

  // Roots of qa r^2 + qb r + qc = 0 along a side: vertical sides give the y
  // offset, horizontal ones the x offset. first and second are the kinds of
  // the two roots, touch the kind of a double root.
  void side(bool vertical, double at, int first, int second, int touch) {
    const double a2 = a * a, b2 = b * b;
    double qa, qb, qc;
    if (vertical) {
      const double dx = at - cx;
      qa = a2 * c * c + b2 * s * s;
      qb = 2 * (b2 - a2) * dx * c * s;
      qc = (a2 * s * s + b2 * c * c) * dx * dx - a2 * b2;
    } else {
      const double dy = at - cy;
      qa = a2 * s * s + b2 * c * c;
      qb = 2 * (b2 - a2) * dy * c * s;
      qc = (a2 * c * c + b2 * s * s) * dy * dy - a2 * b2;
    }
    const double d = qb * qb - 4 * qa * qc;
    if (!(d >= 0) || !std::isfinite(d) || !(qa > 0)) return;  // no crossing, or not representable
    auto put = [&](double r, int kind) {
      const double x = vertical ? at : cx + r;
      const double y = vertical ? cy + r : at;
      const bool within = vertical ? (y >= box.y_min && y <= box.y_max) : (x >= box.x_min && x <= box.x_max);
      if (within && std::isfinite(x) && std::isfinite(y)) add(x, y, kind);
    };
    if (d == 0) {
      put(-qb / (2 * qa), touch);
      return;
    }
    const double root = std::sqrt(d);
    put((-qb + root) / (2 * qa), first);
    put((-qb - root) / (2 * qa), second);
  }
};

}  // namespace

int shape_ellipse_clip_events(const arc_block& ab, const ellipse_view& view, arc_event events[arc_event_capacity]) {
  const view_box& z = view.zbox;
  const double a = ab.hradius, b = ab.vradius, cx = ab.centre_x, cy = ab.centre_y;
  const double s = view.sine, c = view.cosine;
  const bool degenerate = !(a > 0 && b > 0);

  side_crossings sides{events, 0, a, b, cx, cy, s, c, z};
  if (!degenerate) {
    sides.side(true, z.x_max, arc_enter, arc_leave, z.x_max <= cx ? arc_sample_out : arc_sample_in);
    sides.side(true, z.x_min, arc_leave, arc_enter, z.x_min <= cx ? arc_sample_in : arc_sample_out);
    sides.side(false, z.y_max, arc_leave, arc_enter, z.y_max <= cy ? arc_sample_out : arc_sample_in);
    sides.side(false, z.y_min, arc_enter, arc_leave, cy <= z.y_min ? arc_sample_out : arc_sample_in);
  }
  int n = sides.count;

  const double r = a > b ? a : b;
  if (n == 0 && (z.x_max < cx - r || cx + r < z.x_min || z.y_max < cy - r || cy + r < z.y_min)) return -1;

  // Quarter-turn samples, then the diagonals.
  const double h = std::sqrt(0.5);
  const double offsets[8][2] = {{a, 0}, {0, b}, {-a, 0}, {0, -b}, {a * h, b * h}, {-a * h, b * h}, {-a * h, -b * h}, {a * h, -b * h}};
  const double angles[8] = {0, shape_pi / 2, shape_pi, 3 * shape_pi / 2,
                            shape_pi / 4, 3 * shape_pi / 4, 5 * shape_pi / 4, 7 * shape_pi / 4};
  for (int i = 0; i < 8; ++i) {
    const double u = offsets[i][0], v = offsets[i][1];
    const double x = cx + u * c - v * s, y = cy + u * s + v * c;
    events[n++] = {angles[i], static_cast<double>(inside_box(z, x, y) ? arc_sample_in : arc_sample_out), x, y};
  }

  if (!degenerate && !inside_box(z, cx, cy)) {
    graph_point first, last;
    double first_angle = 0, last_angle = 0;
    shape_ellipse_screen_extremes(cx, cy, a, b, view, first, last, first_angle, last_angle);
    for (int i = 0; i < 2; ++i) {
      const graph_point& p = i == 0 ? first : last;
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
      events[n++] = {i == 0 ? first_angle : last_angle,
                     static_cast<double>(inside_box(z, p.x, p.y) ? arc_sample_in : arc_sample_out), p.x, p.y};
    }
  }

  const double dx = ab.end_x - cx, dy = ab.end_y - cy;
  const double ex = cx + dx * c - dy * s, ey = cy + dx * s + dy * c;
  events[n++] = {ab.end_angle, static_cast<double>(inside_box(z, ex, ey) ? arc_end_in : arc_end_out), ex, ey};
  return n;
}

void shape_ellipse_screen_extremes(double cx, double cy, double a, double b, const ellipse_view& view,
                                   graph_point& first, graph_point& last, double& first_angle, double& last_angle) {
  const view_box& sb = view.screen_box;
  const double mx = (sb.x_max - sb.x_min) * 0.05, my = (sb.y_max - sb.y_min) * 0.05;
  const double left = sb.x_min - mx, right = sb.x_max + mx, bottom = sb.y_min - my, top = sb.y_max + my;
  // Bottom-right, top-right, top-left, bottom-left.
  const double corners[4][2] = {{right, bottom}, {right, top}, {left, top}, {left, bottom}};
  double directions[4];
  for (int i = 0; i < 4; ++i) directions[i] = shape_vector_angle(corners[i][0] - cx, corners[i][1] - cy);
  double lo = directions[0], hi = directions[0];
  for (int i = 1; i < 4; ++i) {
    if (shape_angle_not_behind(lo, directions[i])) lo = directions[i];
    if (shape_angle_not_behind(directions[i], hi)) hi = directions[i];
  }
  const double s = view.sine, c = view.cosine;
  auto meet = [&](double phi, graph_point& p, double& angle) {
    const double cp = std::cos(phi), sp = std::sin(phi);
    const double cd = cp * c + sp * s, sd = sp * c - cp * s;  // cos and sin of phi - rotation
    const double rho = a * b / std::sqrt(b * b * cd * cd + a * a * sd * sd);
    const double dx = rho * cp, dy = rho * sp;
    p = {cx + dx, cy + dy};
    angle = shape_vector_angle((dy * s + dx * c) / a, (dy * c - dx * s) / b);
  };
  meet(lo, first, first_angle);
  meet(hi, last, last_angle);
}

int shape_sort_arc_events(const arc_block& ab, arc_event* events, int n, int reverse) {
  const double st = ab.start_angle;
  for (int i = 0; i < n; ++i) {
    arc_event& e = events[i];
    double t;
    if (!reverse) {
      t = e.angle - st;
    } else {
      t = st - e.angle;
      if (t <= 0) t += shape_two_pi;
      if (is_end(e.kind) && t == 0) t = shape_two_pi;
      if (e.kind == double{arc_enter})
        e.kind = arc_leave;
      else if (e.kind == double{arc_leave})
        e.kind = arc_enter;
    }
    if (t < 0) t += shape_two_pi;
    e.angle = t;
  }
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j)
      if (events[j].angle < events[i].angle) std::swap(events[i], events[j]);
  int walked = 0;
  while (walked < n) {
    arc_event& e = events[walked++];
    if (!reverse) {
      e.angle += st;
      if (e.angle > shape_two_pi) e.angle -= shape_two_pi;
    } else {
      e.angle = st - e.angle;
      if (e.angle < 0) e.angle += shape_two_pi;
    }
    if (is_end(e.kind)) break;
  }
  return walked;
}

namespace {

// The control point where the tangent at p (slope m, or vertical) meets the
// line from the centre through q.
graph_point control_point(const graph_point& p, const graph_point& q, double a, double b, double cx, double cy) {
  const bool tangent_vertical = p.y == cy;
  const double m = tangent_vertical ? 0 : -((p.x - cx) / (p.y - cy)) * (b / a) * (b / a);
  if (q.x == cx) {
    if (tangent_vertical) return q;  // parallel: both vertical
    return {cx, p.y + m * (cx - p.x)};
  }
  const double k = (q.y - cy) / (q.x - cx);
  if (tangent_vertical) return {p.x, cy + k * (p.x - cx)};
  if (m == k) return q;
  const double x = (p.x * m + cy - k * cx - p.y) / (m - k);
  return {x, cy + k * (x - cx)};
}

}  // namespace

void shape_arc_to_bezier(double t0, double t1, double a, double b, double cx, double cy, int reverse,
                         graph_point out[4]) {
  const graph_point p0{cx + a * std::cos(t0), cy + b * std::sin(t0)};
  const graph_point p3{cx + a * std::cos(t1), cy + b * std::sin(t1)};
  double d = reverse ? t0 - t1 : t1 - t0;
  if (d < 0) d += shape_two_pi;
  // A straight figure (one radius 0) or a tiny sweep: the controls lie on
  // the figure, at the ends.
  if (!(d >= 0.0001) || a == 0 || b == 0) {
    out[0] = p0;
    out[1] = p0;
    out[2] = p3;
    out[3] = p3;
    return;
  }
  double u1 = reverse ? t0 - 0.32343333 * d : t0 + 0.32343333 * d;
  double u2 = reverse ? t0 - 0.67636667 * d : t0 + 0.67636667 * d;
  if (u1 < 0) u1 += shape_two_pi;
  if (u2 < 0) u2 += shape_two_pi;
  const graph_point q1{cx + a * std::cos(u1), cy + b * std::sin(u1)};
  const graph_point q2{cx + a * std::cos(u2), cy + b * std::sin(u2)};
  out[0] = p0;
  out[1] = control_point(p0, q1, a, b, cx, cy);
  out[2] = control_point(p3, q2, a, b, cx, cy);
  out[3] = p3;
}
