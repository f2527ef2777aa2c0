// Linear axes: tick steps, the grid, the zero axes, tick lines and axis
// numbers formatted exactly from integers.
#pragma once
#include <string>

#include "graph/graph_state.h"

// ---- kernels ----

// The tick step for a raw step r: r written as d.d x 10^e, its ten-fold
// mantissa m gives digit 1 (m < 15), 2 (< 30), 5 (< 80), else 1 with e + 1.
// r = 0 (or not finite) gives 1.
linear_step choose_linear_step(double raw);
// The text of digit x k x 10^exponent: fixed form without a 0 before the
// point ("" for 0) while it has fewer than 10 digits and exponent_form is
// clear; else the exponent form with three exponent digits ("1.5e+012"),
// which sets exponent_form.
std::string axis_format_number(int digit, int exponent, int k, int& exponent_form);
// The first tick index of an axis: trunc(((-0.5 / px_per_unit - offset) x
// invpow / digit) / pow), saturated into the int range.
int axis_first_tick(const linear_step& s, double px_per_unit, double offset);
// Value of tick k.
double axis_tick_value(const linear_step& s, int k);

// ---- with the render's state ----

// Both axes' steps from the scales in force and grid_density.
int axis_compute_linear_steps();
// Where the zero axes stand (xaxis_pos_px, yaxis_pos_px and their displaced flags).
void axis_compute_zero_positions();
// The grid (with graph_grid on); 0.
int grid_draw(DrawDevice& dev);
// The two zero axes (with graph_axes on); 0.
int axis_draw_zero_lines(DrawDevice& dev);
// Tick lines and numbers; tick length in pixels. The X routine returns -1
// when its turned font cannot be made.
int axis_draw_y_numbers(DrawDevice& dev, int tick_px);
int axis_draw_x_numbers(DrawDevice& dev, int tick_px);
// The axis-number font of the render (weight 600, variable-pitch sans).
font_spec axis_number_font();
