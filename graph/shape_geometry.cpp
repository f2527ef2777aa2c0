// Shape geometry kernels (see shape_geometry.h).
#include "graph/shape_geometry.h"

#include <cmath>

#include "interpreter/named_vars.h"
#include "interpreter/variables.h"

void shape_rotation_set_angle(shape_rotation_state& r, double angle) {
  r.sine = std::sin(angle);
  r.cosine = std::cos(angle);
  r.sine_sq = r.sine * r.sine;
  r.cosine_sq = r.cosine * r.cosine;
}

void shape_turn_point(const shape_rotation_state& r, double& x, double& y) {
  const double dx = x - r.centre_x, dy = y - r.centre_y;
  x = r.centre_x + dx * r.cosine - dy * r.sine;
  y = r.centre_y + dx * r.sine + dy * r.cosine;
}

void shape_ellipse_half_extents(double a, double b, double s, double c, double& half_width, double& half_height) {
  if (a == 0 || b == 0) {
    half_width = std::fabs(a * c - b * s);
    half_height = std::fabs(a * s + b * c);
    return;
  }
  half_height = std::sqrt(a * a * s * s + b * b * c * c);
  half_width = std::sqrt(a * a * c * c + b * b * s * s);
}

double shape_vector_angle(double x, double y) {
  double angle = 0;
  if (!std::isnan(x) && !std::isnan(y)) {
    angle = x == 0 ? (y < 0 ? -shape_pi / 2 : shape_pi / 2) : std::atan(y / x);
    if (x >= 0 && y < 0) angle += shape_two_pi;
    if (x < 0) angle += shape_pi;
  }
  // A program may watch the last direction found (only a variable it has).
  if (variable_table) set_named_var_double("test_angle", angle);
  return angle;
}

int shape_angle_not_behind(double a, double b) {
  const double d = a - b;
  if (d > shape_pi) return 0;
  if (d < -shape_pi) return 1;
  return d >= 0 ? 1 : 0;
}
