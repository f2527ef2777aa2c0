// Shape geometry kernels: turning points about a centre, the direction of a
// vector as an angle in [0, 2 pi), and the half-turn ordering of two angles.
// They take their context as parameters and keep no state, so the shape
// table, the ellipse drawing and the tests share them.
#pragma once
#include "graph/graph_state.h"

constexpr double shape_two_pi = 6.283185307179586476925286766559;
constexpr double shape_pi = 3.141592653589793238462643383279;

// One rotation: sine and cosine of the angle, their squares, and the centre.
// The reset value turns nothing.
struct shape_rotation_state {
  double sine = 0, cosine = 1;
  double sine_sq = 0, cosine_sq = 1;
  double centre_x = 0, centre_y = 0;
};

// Sets sine, cosine and squares of angle (radians); the centre stays.
void shape_rotation_set_angle(shape_rotation_state& r, double angle);

// Turns (x, y) about r's centre by r's angle: counter-clockwise for a
// positive angle with y upwards. (cx + dx cos - dy sin, cy + dx sin + dy cos).
void shape_turn_point(const shape_rotation_state& r, double& x, double& y);

// Half-extents of an ellipse of radii a and b turned by the angle of sine s,
// cosine c: sqrt(a^2 s^2 + b^2 c^2) high, sqrt(a^2 c^2 + b^2 s^2) wide; with
// a or b zero those of the turned radius vector, |a s + b c| and |a c - b s|.
void shape_ellipse_half_extents(double a, double b, double s, double c, double& half_width, double& half_height);

// Direction of (x, y) in [0, 2 pi): (0, 0) gives pi / 2, (0, -1) 3 pi / 2,
// (-1, 0) pi. A NaN component gives 0. The angle is also written into the
// program's numeric variable test_angle when it has one.
double shape_vector_angle(double x, double y);

// 1 when angle a lies at or after angle b within half a turn, else 0.
int shape_angle_not_behind(double a, double b);
