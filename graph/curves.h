// Clipped cubic Beziers and smooth curves. The part of a curve inside the z
// box is drawn as true Bezier pieces; the part outside becomes clipped
// straight runs found by subdivision.
#pragma once
#include "graph/graph_state.h"

constexpr int bezier_buffer_points = 40;  // straight runs collected before they are drawn
constexpr int bezier_max_depth = 40;      // halvings of one curve at most

// Where to split the curve p[0..3] at subdivision depth: 0.5 for the first
// four levels, later aimed at the band between the z box and the screen box.
// Always in (0, 1).
double bezier_split_parameter(const view_box& zbox, const view_box& screen, const graph_point p[4], int depth);
// de Casteljau split of p at t into the halves left and right.
void bezier_split(const graph_point p[4], double t, graph_point left[4], graph_point right[4]);

// Draws one clipped cubic Bezier (render's z box and screen box). Straight
// runs collect in buffer (bezier_buffer_points points, *count in use); the
// caller draws what remains afterwards (bezier_flush). 0.
int view_draw_bezier(DrawDevice& dev, const graph_point p[4], int* depth, graph_point* buffer, int* count, int cont);
// Draws and empties the run buffer (redundant points removed first).
void bezier_flush(DrawDevice& dev, graph_point* buffer, int* count, int cont);

// The rounded (average) and smoothed (smooth) curve points of n points, for
// smooth and average in 0..10: q the rounded points, before[i] and after[i]
// the Bezier control points around q[i]. closed: the last point repeats the
// first. Returns false when n < 2.
bool smooth_curve_points(const graph_point* p, int n, double smooth, double average, int closed,
                         std::vector<graph_point>& q, std::vector<graph_point>& before,
                         std::vector<graph_point>& after);
// Draws a polyline through n points, rounded and smoothed; 0.
int view_draw_smooth_curve(DrawDevice& dev, const graph_point* p, int n, double smooth, double average, int closed,
                           int cont);
