// Scales and view boxes: the plot-area layout, the scales and offsets in
// force from the requested ones and the data extents, and the z box and
// screen box in data units.
#pragma once
#include "graph/graph_state.h"

// ---- kernels, one axis at a time ----

// The automatic scale (units per inch) and offset of one axis for the range
// lo..hi on size_in inches with clearance c, keeping title_in inches for the
// numbers when include_zero is on. Scales are clamped into 1e-306..1e307.
void axis_auto_scale(double lo, double hi, double size_in, double c, double title_in, bool include_zero,
                     double& scale, double& offset);
// The offset in force for a requested scale: keeps 0 visible beside the
// numbers when no offset was requested and numbers are on, else the
// requested offset.
double axis_offset_for_scale(double lo, double scale_calc, double requested_offset, bool numbers, double size_in,
                             double title_in);
// Widens an empty range lo..lo: to lo + size_in x requested scale when a
// scale is requested, else to lo + |lo| + 1.
void axis_widen_empty_range(double& lo, double& hi, double size_in, double requested_scale);
// Keeps the offset within the axis limits [limit_min, limit_max] for a view
// of width_in inches: offset in [width_in x scale - limit_max, -limit_min];
// when the view is wider than the limits, the scale becomes the largest that
// fits. Returns 1 when the scale had to change.
int axis_clamp_to_limits(double& scale, double& offset, double width_in, double limit_min, double limit_max);
// The z box (ratio r) or screen box for the scales and offsets in force.
view_box view_make_box(double ratio, double hscale, double hoffset, double vscale, double voffset, double width_in,
                       double height_in);

// ---- with the graph's state ----

// Lays out the frame and the plot area from the device values; 0.
int graph_layout_plot_area();
// The room kept for the axis titles and numbers (0.2 inch each while no axis
// title is set); 0.
int axis_title_metrics(DrawDevice& dev);
// The scales and offsets in force; 0 or the reported -265 / -262.
int graph_compute_scales(DrawDevice& dev);
// The pixel mapping of the render (px_per_unit, hoffset_px, voffset_px);
// false when a scale is so small that pixels per unit overflow.
bool graph_compute_mapping();
// The z box, the screen box and their axis-unit copies; 0.
int view_compute_boxes();
// Swap the boxes' bounds of each logarithmic axis with their axis-unit copies.
void view_enter_log_units();
void view_leave_log_units();
