// DEBUG TESTROUTINE 2 and 3 (see shape_debug.h).
#include "graph/shape_debug.h"

#include <cmath>
#include <string>

#include "graph/shape_ellipse.h"
#include "graph/shapes.h"
#include "interpreter/named_vars.h"

namespace {

constexpr double degree = shape_pi / 180;

// The variable's value, or fallback when there is no such double variable.
double read_or(const char* name, double fallback) {
  double v = 0;
  return get_named_var_double(name, &v) == 0 && std::isfinite(v) ? v : fallback;
}

struct test_ellipse {
  double cx, cy, a, b, start, end;
};

test_ellipse read_test_ellipse() {
  test_ellipse e;
  e.start = read_or("test_angle_start", 0) * degree;
  e.end = read_or("test_angle_end", 360) * degree;
  e.cx = read_or("test_center_x", 0);
  e.cy = read_or("test_center_y", 0);
  e.a = std::fabs(read_or("test_h_radius", 0));
  e.b = std::fabs(read_or("test_v_radius", 0));
  return e;
}

}  // namespace

int shape_debug_arc_to_bezier() {
  const test_ellipse e = read_test_ellipse();
  graph_point p[4];
  shape_arc_to_bezier(e.start, e.end, e.a, e.b, e.cx, e.cy, 0, p);
  set_named_var_double("P_start_x", p[0].x);
  set_named_var_double("P_start_y", p[0].y);
  set_named_var_double("P_control_1_x", p[1].x);
  set_named_var_double("P_control_1_y", p[1].y);
  set_named_var_double("P_control_2_x", p[2].x);
  set_named_var_double("P_control_2_y", p[2].y);
  set_named_var_double("P_end_x", p[3].x);
  set_named_var_double("P_end_y", p[3].y);
  return 0;
}

int shape_debug_ellipse_events() {
  const test_ellipse e = read_test_ellipse();
  arc_block ab;
  ab.centre_x = e.cx;
  ab.centre_y = e.cy;
  ab.hradius = e.a;
  ab.vradius = e.b;
  ab.start_angle = e.start;
  ab.end_angle = e.end;
  ab.start_x = e.cx + e.a * std::cos(e.start);
  ab.start_y = e.cy + e.b * std::sin(e.start);
  ab.end_x = e.cx + e.a * std::cos(e.end);
  ab.end_y = e.cy + e.b * std::sin(e.end);
  ellipse_view view;
  view.zbox = render.zbox;
  view.screen_box = render.screen_box;
  view.sine = shape_rotation.sine;
  view.cosine = shape_rotation.cosine;
  arc_event events[arc_event_capacity];
  int n = shape_ellipse_clip_events(ab, view, events);
  if (n > 0) n = shape_sort_arc_events(ab, events, n, 0);
  set_named_var_double("intersect_index", n);
  for (int i = 0; i < n; ++i) {
    const std::string at = "angles(" + std::to_string(i) + ",";
    set_named_var_double((at + "0)").c_str(), events[i].angle / degree);
    set_named_var_double((at + "1)").c_str(), events[i].kind);
    set_named_var_double((at + "2)").c_str(), events[i].x);
    set_named_var_double((at + "3)").c_str(), events[i].y);
  }
  return 0;
}
