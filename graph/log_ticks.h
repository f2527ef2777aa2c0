// Ticks of a logarithmic axis: a base step from the decades per inch, the
// mantissas 1..9 of each decade stepped by it (or whole decades when zoomed
// out), thinning of crowded numbers, and the table the grid and the axis
// numbers walk.
#pragma once
#include "graph/graph_state.h"

struct log_tick_steps {
  double base = 1;  // B = digit x 10^exponent
  int digit = 1;
  int exponent = 0;
  int d1 = 1, d2 = 2, d3 = 5;  // mantissa steps from 1, from lo and from hi on
  int lo = 2, hi = 5;
  int mod1 = 2, mod2 = 5, mod3 = 10;  // numbered mantissas when thinning
  bool thin = false;                  // numbers are thinned
};

// The steps for s decades per inch with the axis weight and grid density.
log_tick_steps log_tick_choose_steps(double s, double axisweight, double grid_density);
// Fills out with the ticks from the left (bottom) edge of a view with offset
// o decades to the far edge (plot_size pixels at px_per_decade), at most 99.
void log_tick_fill(const log_tick_steps& steps, double o, double px_per_decade, int plot_size, log_tick_table& out);
// Both for one axis of the render (0 horizontal, 1 vertical), setting the
// BASIC variables tick_size_base, tick_incr, tick_incr_1 .. tick_incr_3 and
// suppress_some_numbers where the program has them; 0.
int axis_build_log_ticks(int axis);
