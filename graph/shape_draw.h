// Drawing the shape table: every record in table order with its pen and
// brush, path groups as one device path that the group's closing record
// strokes and fills, and the hit test that finds the clickable figure under
// a mouse click.
#pragma once
#include "graph/shapes.h"
#include "ports/draw_device.h"

// Hit-test request, set by the graph window when the left button is
// released on the graph: the next screen render runs the hit test at the
// click (device pixels), which then clears the request.
extern int shape_hit_test_pending;
extern int graph_click_x, graph_click_y;

// Draws every record (view boxes computed first); after a screen render with
// a hit test pending, runs it at the click. A path group still open after the
// last record is abandoned, so nothing drawn later lands in it. 0.
int draw_all_shapes(DrawDevice& dev);
// Draws one record by its kind with the pen and brush already selected.
void shape_draw(DrawDevice& dev, shape_record& r);

// The drawing routines of the kinds.
// A closed polygon of n points with r's smooth, average, filltype and outline;
// 0, or -1 when its work list cannot be had (nothing is drawn).
int shape_draw_polygon(DrawDevice& dev, const graph_point* p, int n, const shape_record& r);
// r's cubic Bezier (line start, control points, line end; all turned). 0.
int shape_draw_bezier(DrawDevice& dev, const shape_record& r);
// A LINE record: a clipped segment from line start to line end.
void shape_draw_line(DrawDevice& dev, const shape_record& r);
// A POLYLINE record: plain, or smoothed and rounded by r's smooth and average.
void shape_draw_polyline(DrawDevice& dev, const shape_record& r, const graph_point* p, int n, int cont);
// An ELLIPSE, ARC, CHORD or PIE record as Bezier pieces and border runs. 0.
int shape_draw_ellipse(DrawDevice& dev, const shape_record& r);

// The hit test on a device that holds pixels (all black, mapped as the
// screen render): draws the clickable groups in white one by one (newest
// first, or from the first with DEBUG MOUSECHECKFORWARD) and reads the pixel
// at (click_x, click_y). Sets graph_event to the id of the first group that
// covers it, else -2; a hit clears shape_hit_test_pending. 0.
int shape_hit_test(DrawDevice& dev, int click_x, int click_y);

// Text shapes (the text area): a TEXT record's outline and a PLOTCHAROUTLINE
// record, in draw mode 0.
int shape_text_outline(DrawDevice& dev, shape_record& r, int mode);
int shape_draw_plotcharoutline(DrawDevice& dev, shape_record& r, int mode);
