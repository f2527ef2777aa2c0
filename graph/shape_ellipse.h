// Ellipses, arcs, chords and pies as chains of cubic Bezier pieces: the arc
// is cut at events (z box crossings, samples every eighth of a turn, two
// samples towards the visible area when the centre lies outside it, the end);
// pieces inside the z box become Beziers, pieces outside become clipped runs
// along the z box border, so a huge or far-away figure never reaches the
// device as huge coordinates and a closed figure keeps its fill.
//
// Angles are parameter angles t of the unturned ellipse: the point of t is
// (cx + a cos t, cy + b sin t) before the rotation; t grows counter-clockwise.
// A figure with one radius 0 is a straight line across its turned diameter:
// it takes no crossing or extreme events (its pieces between the samples are
// straight and clipped exactly) and its Bezier pieces have their control
// points on the line. With both radii 0 every point is the centre.
#pragma once
#include "graph/graph_state.h"
#include "graph/shape_geometry.h"

// The figure being drawn (also filled by DEBUG TESTROUTINE).
struct arc_block {
  double start_x = 0, start_y = 0;  // (cx + a cos start, cy + b sin start), not turned
  double end_x = 0, end_y = 0;      // the same for the end
  double start_angle = 0, end_angle = 0;
  double hradius = 0, vradius = 0;  // a, b
  double centre_x = 0, centre_y = 0;
};

// Kinds of arc events.
enum arc_event_kind : int {
  arc_enter = 0,         // crossing where the arc enters the z box (drawing direction)
  arc_leave = 1,         // crossing where it leaves
  arc_sample_out = 2,    // sample outside the z box
  arc_sample_in = 3,     // sample inside (edges count as inside)
  arc_end_out = 4,       // end point outside
  arc_end_in = 5,        // end point inside
};

// One cut point: parameter angle, kind (a double, as DEBUG TESTROUTINE
// hands it out), and the turned point in data units.
struct arc_event {
  double angle = 0;
  double kind = 0;
  double x = 0, y = 0;
};
constexpr int arc_event_capacity = 19;  // 8 crossings, 8 samples, 2 extremes, 1 end

// The context of the kernels: the z box and the screen box in data units and
// the figure's rotation (sine and cosine).
struct ellipse_view {
  view_box zbox;
  view_box screen_box;
  double sine = 0, cosine = 1;
};

// Lists the events of the figure in ab: crossings of the right, left, top and
// bottom sides, the eight samples, the two extremes when the centre lies
// outside the z box, and the end. Returns their number (at most 19), or -1
// when the figure lies wholly outside the z box.
int shape_ellipse_clip_events(const arc_block& ab, const ellipse_view& view, arc_event events[arc_event_capacity]);

// The two samples towards the corners of the screen box (widened by 5 % on
// each side) seen from a centre outside it: the ray towards the first and
// the last corner in angular order meets the ellipse there.
void shape_ellipse_screen_extremes(double cx, double cy, double a, double b, const ellipse_view& view,
                                   graph_point& first, graph_point& last, double& first_angle, double& last_angle);

// Sorts events along the drawing direction from ab's start angle and returns
// how many, up to and including the first end event, belong to the arc. With
// reverse the crossing kinds enter and leave are exchanged.
int shape_sort_arc_events(const arc_block& ab, arc_event* events, int n, int reverse);

// One cubic Bezier (P0, C1, C2, P3) approximating the unturned ellipse from
// t0 to t1 (clockwise with reverse). A sweep below 0.0001 gives P0 P0 P3 P3.
void shape_arc_to_bezier(double t0, double t1, double a, double b, double cx, double cy, int reverse,
                         graph_point out[4]);
