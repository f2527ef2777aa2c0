// Clipping to the z box and the path primitives: every line of the graph is
// clipped segment by segment to the z box (about twice the visible view);
// the parts outside become runs along the box's edges and corners, so that a
// clipped outline stays one closed figure. Then points are converted to
// device pixels and drawn as polylines or Beziers, or added to the open
// device path figure.
#pragma once
#include "graph/graph_state.h"

// ---- kernels (context as parameters) ----

// Clips the segment (x1, y1)-(x2, y2) to box (with its centre): writes four
// points q[0..3] that, drawn in order, give the visible part joined by runs to
// the box corners nearest each end. Returns 2 when both ends are inside
// (edges count), 1 when clipped, 0 when the segment misses the box (then
// only corner points). A NaN coordinate gives four equal corner points and 0.
int clip_segment(const view_box& box, double x1, double y1, double x2, double y2, graph_point q[4]);
// Removes repeated points and the middle of three points on one horizontal
// or vertical line when it lies between the other two; p[0] is always kept,
// and a list whose points are all equal keeps two. Works in place; returns
// the new count.
int view_remove_redundant_points(graph_point* p, int n);

// ---- drawing with the render's state (render.zbox, the mapping, the path) ----

// view_clip_segment with the z box of the render.
int view_clip_segment(double x1, double y1, double x2, double y2, graph_point q[4]);
// Converts n points to device pixels (log10 first on a logarithmic axis
// unless render.points_in_log_units) and draws them: a polyline, or with
// cont the continuation of the path figure (move_to once per figure, then
// polyline_to). 0.
int view_polyline_to_device(DrawDevice& dev, const graph_point* p, int n, int cont);
// The same for one cubic Bezier p[0..3] (poly_bezier, or poly_bezier_to). 0.
int view_bezier_to_device(DrawDevice& dev, const graph_point p[4], int cont);
// Path mode only: continues the open figure to (x, y) (clipped), or makes
// (x, y) the start of the next figure.
void view_path_line_to(DrawDevice& dev, double x, double y);
// Path mode: closes the open figure back to its start; always ends the figure.
void view_path_close_figure(DrawDevice& dev);
// A clipped polyline through n points (continue: add to the open figure). 0.
int view_draw_polyline(DrawDevice& dev, const graph_point* p, int n, int cont);
// move_to / line_to the device point of axis values (no log step, no clipping).
void graph_move_to(DrawDevice& dev, double x, double y);
void graph_line_to(DrawDevice& dev, double x, double y);
