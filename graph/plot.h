// The PLOT statement (stmt_plot, declared with the other statements) and the
// plot table in graph_elements (graph_state.h).
#pragma once
#include "ports/draw_device.h"

// Appends a new plot to the element table and makes it current; 0, or the
// reported -260 (table full; current_plot becomes -1) or -256 (no memory).
int plot_create(double lineweight, int sort_mode, draw_color color, double average, double smooth);
// Inserts (x, y) into the current plot in its sort order (NaN becomes 0,
// infinities +-21474000); 0 or the reported -261, -265, -257.
int plot_add_point(double x, double y);
// Fills the log10 columns of every plot for each logarithmic axis; 0 or -265.
int plot_compute_logs();
// Draws every plot with its pen through the smooth-curve drawing; 0.
int plot_draw_all(DrawDevice& dev);
