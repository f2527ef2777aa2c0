// Glyph outlines: fetching a character's outline from the font engine,
// scaling, turning and moving its points into data units, and the outline
// point array that SHAPE CHAROUTLINE hands a program and PLOTCHAROUTLINE
// draws again.
//
// The outline point array, in entries of (x, y):
//   entry 0: (number of contours, index of the first entry after the contours)
//   per contour: (number of curves, 0), then its start point
//   per curve: (number of points, curve type 1 line or 3 cubic), then its points
//   then five entries: the pen position after the glyph and the corners of
//   the turned black box (x min, y min), (x max, y min), (x max, y max), (x min, y max).
// A glyph without contours (a blank) has entry 0 = (0, 0) and the five
// trailing entries: the pen after it and its empty box at the pen start.
#pragma once
#include <vector>

#include "graph/graph_state.h"
#include "ports/draw_device.h"
#include "ports/font_engine.h"

// Scale, turn and pen position of the glyph in progress.
struct glyph_transform {
  double scale_x = 1, scale_y = 1;  // data units (log10 units on a log axis) per font unit
  double sin = 0, cos = 1;          // the turn
  double origin_x = 0, origin_y = 0;  // the pen position
  double aspect_r = 1;  // multiplies the turned horizontal part (paths of texts kept in proportion); else 1
};

// (fx, fy) in font units to data units: u = fx sx, v = fy sy; X = (u cos -
// v sin) r + origin x, Y = u sin + v cos + origin y.
graph_point glyph_transform_point(const glyph_transform& t, double fx, double fy);
// The offset (dx, dy) in font units, scaled and turned (no pen position).
graph_point glyph_turn_offset(const glyph_transform& t, double dx, double dy);

// Fetches the outline of character ch. True when it has contours to draw;
// otherwise out holds no contours and its cell increment is the advance the
// character still takes: its own when the font has the glyph (a blank), the
// blank's when the font has no glyph for it.
bool glyph_fetch(FontEngine& fonts, const font_spec& font, unsigned char ch, glyph_outline& out);

// The black box of g turned by t about the pen position: x and y extremes.
struct glyph_box {
  double x_min = 0, x_max = 0, y_min = 0, y_max = 0;
};
glyph_box glyph_turned_box(const glyph_outline& g, const glyph_transform& t);
// Whether two boxes meet (edges count).
bool glyph_box_meets(const glyph_box& b, const view_box& z);
// Whether a glyph of advance cell_x in a font em units high could reach into
// z: its cell widened by half an em on every side, turned by t. A glyph that
// cannot is passed over without fetching its outline.
bool glyph_cell_may_meet(const glyph_transform& t, double cell_x, double em, const view_box& z);

// Entries the contours of g take in the outline point array (without entry 0
// and the five trailing entries): per contour 2 + the sum over its curves of
// 1 + point count.
int glyph_contour_entries(const glyph_outline& g);
// The whole outline point array of g drawn with t (the pen advances by the
// glyph's turned cell increment for the trailing pen entry).
std::vector<graph_point> glyph_outline_point_array(const glyph_outline& g, const glyph_transform& t);

// ---- drawing into the device path (render's z box and path state) ----

// Draws one contour of g with t into the open device path as a figure of its
// own: its start point (made the current point, not joined to a figure left
// open before), its lines as clipped polylines, its cubics in whole groups of
// three; then closes the figure.
void text_glyph_contour_to_path(DrawDevice& dev, const glyph_contour& c, const glyph_transform& t);
// How a glyph path ends: stroked and filled, only stroked, only filled.
enum glyph_path_end : int { glyph_stroke_and_fill = 0, glyph_stroke = 1, glyph_fill = 2 };
// Opens a device path for glyph figures unless one is open already (a path
// group being recorded, whose figures the glyphs then join). True when it
// opened one, which glyph_path_finish then ends by rule.
bool glyph_path_begin(DrawDevice& dev);
void glyph_path_finish(DrawDevice& dev, bool opened, int rule);
// Draws every contour of g as one path, ended by rule (see glyph_path_begin).
void text_glyph_to_path(DrawDevice& dev, const glyph_outline& g, const glyph_transform& t, int rule);
