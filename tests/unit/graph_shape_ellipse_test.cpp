// The shape geometry kernels and the ellipse pieces: angles, turned extents,
// the events of an ellipse against the z box, their order, and the Bezier
// pieces checked against the analytic curve.
#include <gtest/gtest.h>

#include <cmath>

#include "graph/shape_ellipse.h"
#include "graph/shape_geometry.h"

namespace {

constexpr double pi = shape_pi;

view_box make_box(double x_min, double x_max, double y_min, double y_max) {
  view_box b;
  b.x_min = x_min;
  b.x_max = x_max;
  b.y_min = y_min;
  b.y_max = y_max;
  b.x_mid = (x_min + x_max) / 2;
  b.y_mid = (y_min + y_max) / 2;
  return b;
}

graph_point bezier_at(const graph_point p[4], double u) {
  const double v = 1 - u;
  const double w0 = v * v * v, w1 = 3 * v * v * u, w2 = 3 * v * u * u, w3 = u * u * u;
  return {w0 * p[0].x + w1 * p[1].x + w2 * p[2].x + w3 * p[3].x, w0 * p[0].y + w1 * p[1].y + w2 * p[2].y + w3 * p[3].y};
}

// Distance from (x, y) to the ellipse of radii a, b about (cx, cy): a coarse
// search over the parameter angle, then a ternary refinement.
double distance_to_ellipse(double x, double y, double a, double b, double cx, double cy) {
  auto at = [&](double t) { return std::hypot(cx + a * std::cos(t) - x, cy + b * std::sin(t) - y); };
  double best_t = 0;
  for (int i = 0; i < 720; ++i) {
    const double t = shape_two_pi * i / 720;
    if (at(t) < at(best_t)) best_t = t;
  }
  double lo = best_t - shape_two_pi / 720, hi = best_t + shape_two_pi / 720;
  for (int i = 0; i < 60; ++i) {
    const double m1 = lo + (hi - lo) / 3, m2 = hi - (hi - lo) / 3;
    if (at(m1) < at(m2))
      hi = m2;
    else
      lo = m1;
  }
  return at((lo + hi) / 2);
}

arc_block make_arc(double cx, double cy, double a, double b, double start, double end) {
  arc_block ab;
  ab.centre_x = cx;
  ab.centre_y = cy;
  ab.hradius = a;
  ab.vradius = b;
  ab.start_angle = start;
  ab.end_angle = end;
  ab.start_x = cx + a * std::cos(start);
  ab.start_y = cy + b * std::sin(start);
  ab.end_x = cx + a * std::cos(end);
  ab.end_y = cy + b * std::sin(end);
  return ab;
}

}  // namespace

TEST(ShapeGeometry, VectorAngleAndOrder) {
  struct {
    double x, y, angle;
  } cases[] = {{1, 0, 0}, {0, 0, pi / 2}, {0, 1, pi / 2}, {0, -1, 3 * pi / 2}, {-1, 0, pi},
               {1, -1, 7 * pi / 4}, {-1, -1, 5 * pi / 4}, {-1, 1, 3 * pi / 4}, {NAN, 1, 0}};
  for (const auto& c : cases) EXPECT_NEAR(shape_vector_angle(c.x, c.y), c.angle, 1e-12) << c.x << "," << c.y;
  struct {
    double a, b;
    int result;
  } order[] = {{0.1, 6.2, 1}, {6.2, 0.1, 0}, {1, 1, 1}, {1, 0.5, 1}, {0.5, 1, 0}, {4.5, 1, 0}};
  for (const auto& c : order) EXPECT_EQ(shape_angle_not_behind(c.a, c.b), c.result) << c.a << "," << c.b;
}

TEST(ShapeGeometry, TurnAndHalfExtents) {
  shape_rotation_state r;
  r.centre_x = 1;
  r.centre_y = 1;
  shape_rotation_set_angle(r, pi / 2);
  double x = 3, y = 1;
  shape_turn_point(r, x, y);
  EXPECT_NEAR(x, 1, 1e-12);
  EXPECT_NEAR(y, 3, 1e-12);
  struct {
    double a, b, angle, w, h;
  } cases[] = {
      {2, 1, pi / 2, 1, 2},             // radii 2 and 1 turned a quarter: 1 wide, 2 high
      {2, 1, 0, 2, 1},
      {2, 0, pi / 2, 0, 2},             // a turned horizontal diameter: just its line
      {2, 0, pi / 6, std::sqrt(3.0), 1},
      {0, 3, pi / 6, 1.5, 3 * std::sqrt(3.0) / 2},
      {0, 0, 1, 0, 0},
  };
  for (const auto& c : cases) {
    double w = -1, h = -1;
    shape_ellipse_half_extents(c.a, c.b, std::sin(c.angle), std::cos(c.angle), w, h);
    EXPECT_NEAR(w, c.w, 1e-12) << c.a << " " << c.b << " " << c.angle;
    EXPECT_NEAR(h, c.h, 1e-12) << c.a << " " << c.b << " " << c.angle;
  }
}

// Every piece of an eighth of a turn (and some longer ones) stays within a
// small fraction of a pixel of the curve, forwards and backwards.
TEST(ShapeEllipse, BezierPiecesFollowTheCurve) {
  struct {
    double a, b;
  } radii[] = {{100, 100}, {300, 60}, {40, 250}, {300, 300}};
  for (const auto& r : radii) {
    for (int reverse = 0; reverse <= 1; ++reverse) {
      for (int k = 0; k < 16; ++k) {
        const double t0 = k * pi / 8 + 0.1;
        const double t1 = reverse ? t0 - pi / 4 : t0 + pi / 4;
        graph_point p[4];
        shape_arc_to_bezier(t0, t1 < 0 ? t1 + shape_two_pi : t1, r.a, r.b, 10, -5, reverse, p);
        EXPECT_NEAR(p[0].x, 10 + r.a * std::cos(t0), 1e-9);
        EXPECT_NEAR(p[3].y, -5 + r.b * std::sin(t1), 1e-9);
        double worst = 0;
        for (int i = 0; i <= 20; ++i) {
          const graph_point q = bezier_at(p, i / 20.0);
          worst = std::fmax(worst, distance_to_ellipse(q.x, q.y, r.a, r.b, 10, -5));
        }
        EXPECT_LT(worst, 0.5) << r.a << "x" << r.b << " t0=" << t0 << " reverse=" << reverse;
      }
    }
  }
}

TEST(ShapeEllipse, DegenerateAndTinyPiecesStayOnTheFigure) {
  graph_point p[4];
  // A vertical line (a = 0): the controls sit at the ends, all finite.
  for (double t0 : {0.0, pi / 4, pi / 2, pi, 3 * pi / 2}) {
    shape_arc_to_bezier(t0, t0 + pi / 4, 0, 5, 1, 2, 0, p);
    for (const graph_point& q : p) {
      EXPECT_TRUE(std::isfinite(q.x) && std::isfinite(q.y));
      EXPECT_DOUBLE_EQ(q.x, 1);
    }
    EXPECT_EQ(p[1], p[0]);
    EXPECT_EQ(p[2], p[3]);
  }
  // A horizontal line (b = 0).
  shape_arc_to_bezier(pi / 8, pi / 4, 5, 0, 0, 0, 0, p);
  for (const graph_point& q : p) EXPECT_DOUBLE_EQ(q.y, 0);
  // A sweep below 0.0001 is a degenerate curve P0 P0 P3 P3.
  shape_arc_to_bezier(1, 1.00005, 10, 10, 0, 0, 0, p);
  EXPECT_EQ(p[1], p[0]);
  EXPECT_EQ(p[2], p[3]);
}

TEST(ShapeEllipse, EventsOfAnEllipseInsideTheBox) {
  ellipse_view view;
  view.zbox = make_box(-100, 100, -100, 100);
  view.screen_box = make_box(-50, 50, -50, 50);
  arc_block ab = make_arc(0, 0, 20, 10, 0, shape_two_pi);
  arc_event ev[arc_event_capacity];
  int n = shape_ellipse_clip_events(ab, view, ev);
  ASSERT_EQ(n, 9);  // eight samples and the end
  for (int i = 0; i < 8; ++i) EXPECT_EQ(static_cast<int>(ev[i].kind), arc_sample_in);
  EXPECT_EQ(static_cast<int>(ev[8].kind), arc_end_in);
  n = shape_sort_arc_events(ab, ev, n, 0);
  ASSERT_EQ(n, 9);
  for (int i = 0; i < 8; ++i) EXPECT_NEAR(ev[i].angle, i * pi / 4, 1e-12);
  EXPECT_NEAR(ev[8].angle, shape_two_pi, 1e-12);
  EXPECT_NEAR(ev[2].x, 0, 1e-12);  // t = pi / 2: the top
  EXPECT_NEAR(ev[2].y, 10, 1e-12);
}

TEST(ShapeEllipse, EqualAnglesEmptyForwardWholeTurnBackward) {
  ellipse_view view;
  view.zbox = make_box(-100, 100, -100, 100);
  view.screen_box = view.zbox;
  arc_block ab = make_arc(0, 0, 20, 20, pi / 3, pi / 3);
  arc_event ev[arc_event_capacity];
  int n = shape_ellipse_clip_events(ab, view, ev);
  int forward = shape_sort_arc_events(ab, ev, n, 0);
  // Only events at the start angle itself (none here) precede the end.
  EXPECT_EQ(forward, 1);
  n = shape_ellipse_clip_events(ab, view, ev);
  int backward = shape_sort_arc_events(ab, ev, n, 1);
  EXPECT_EQ(backward, 9);
  // Clockwise: the angles fall from the start, the end closes the turn.
  EXPECT_NEAR(ev[0].angle, pi / 4, 1e-12);
  EXPECT_NEAR(ev[1].angle, 0, 1e-12);
  EXPECT_NEAR(ev[8].angle, pi / 3, 1e-12);
}

// A circle of radius 6 about the centre of a z box reaching 5 on each side:
// eight crossings, entering and leaving in turn along the drawing direction.
TEST(ShapeEllipse, CrossingsAlternateAlongTheArc) {
  for (int reverse = 0; reverse <= 1; ++reverse) {
    for (double rotate : {0.0, 0.5}) {
      ellipse_view view;
      view.zbox = make_box(-5, 5, -5, 5);
      view.screen_box = make_box(-2.5, 2.5, -2.5, 2.5);
      view.sine = std::sin(rotate);
      view.cosine = std::cos(rotate);
      arc_block ab = make_arc(0, 0, 6, 6, 0, reverse ? 0 : shape_two_pi);
      arc_event ev[arc_event_capacity];
      int n = shape_ellipse_clip_events(ab, view, ev);
      ASSERT_EQ(n, 8 + 8 + 1);
      n = shape_sort_arc_events(ab, ev, n, reverse);
      ASSERT_EQ(n, 17);
      int crossings = 0;
      int expect = -1;
      for (int i = 0; i < n; ++i) {
        const int kind = static_cast<int>(ev[i].kind);
        if (kind == arc_enter || kind == arc_leave) {
          if (expect >= 0) {
            EXPECT_EQ(kind, expect) << "event " << i;
          }
          expect = kind == arc_enter ? arc_leave : arc_enter;
          ++crossings;
          // The crossing lies on the circle and on a side of the box.
          EXPECT_NEAR(std::hypot(ev[i].x, ev[i].y), 6, 1e-9);
          EXPECT_NEAR(std::fmax(std::fabs(ev[i].x), std::fabs(ev[i].y)), 5, 1e-9);
          // Its angle names the same point (the circle is not turned here
          // beyond the rotation, which the angle undoes).
          const double t = ev[i].angle;
          const double ux = 6 * std::cos(t), uy = 6 * std::sin(t);
          EXPECT_NEAR(ux * view.cosine - uy * view.sine, ev[i].x, 1e-9);
          EXPECT_NEAR(ux * view.sine + uy * view.cosine, ev[i].y, 1e-9);
        }
      }
      EXPECT_EQ(crossings, 8);
    }
  }
}

TEST(ShapeEllipse, OutsideSurroundingAndFarCentres) {
  ellipse_view view;
  view.zbox = make_box(-10, 10, -10, 10);
  view.screen_box = make_box(-5, 5, -5, 5);
  arc_event ev[arc_event_capacity];
  // Wholly right of the z box: nothing.
  arc_block right = make_arc(50, 0, 20, 30, 0, shape_two_pi);
  EXPECT_EQ(shape_ellipse_clip_events(right, view, ev), -1);
  // Surrounding the box: drawn, every sample outside.
  arc_block around = make_arc(0, 0, 100, 80, 0, shape_two_pi);
  int n = shape_ellipse_clip_events(around, view, ev);
  ASSERT_EQ(n, 9);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(static_cast<int>(ev[i].kind), arc_sample_out);
  // A huge radius whose squares overflow: no crossing, no NaN.
  arc_block huge = make_arc(0, 0, 1e200, 1e200, 0, shape_two_pi);
  n = shape_ellipse_clip_events(huge, view, ev);
  ASSERT_GT(n, 0);
  for (int i = 0; i < n; ++i) EXPECT_FALSE(std::isnan(ev[i].angle) || std::isnan(ev[i].x) || std::isnan(ev[i].y));
  // A centre outside the box with the arc crossing it: two extreme samples
  // join the crossings, samples and the end.
  arc_block beside = make_arc(20, 0, 15, 15, 0, shape_two_pi);
  n = shape_ellipse_clip_events(beside, view, ev);
  EXPECT_EQ(n, 2 + 8 + 2 + 1);
}

TEST(ShapeEllipse, ZeroRadiusTakesNoCrossings) {
  ellipse_view view;
  view.zbox = make_box(-10, 10, -10, 10);
  view.screen_box = make_box(-5, 5, -5, 5);
  view.sine = std::sin(0.3);
  view.cosine = std::cos(0.3);
  arc_event ev[arc_event_capacity];
  for (double a : {0.0, 40.0}) {
    const double b = a == 0 ? 40 : 0;
    arc_block line = make_arc(3, 2, a, b, 0, shape_two_pi);
    int n = shape_ellipse_clip_events(line, view, ev);
    ASSERT_EQ(n, 9);
    for (int i = 0; i < n; ++i) EXPECT_TRUE(std::isfinite(ev[i].angle) && std::isfinite(ev[i].x) && std::isfinite(ev[i].y));
  }
  arc_block point = make_arc(3, 2, 0, 0, 0, shape_two_pi);
  int n = shape_ellipse_clip_events(point, view, ev);
  ASSERT_EQ(n, 9);
  for (int i = 0; i < n; ++i) EXPECT_EQ(ev[i].x, 3);
}
