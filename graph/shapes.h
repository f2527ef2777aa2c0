// The shape table: the figures SHAPE adds (rectangles, ellipses, arcs,
// chords, pies, polygons, lines, polylines, Beziers, text outlines and path
// groups), the current SHAPE parameters every new figure is built from, the
// rotation state used while records are built and changed, and the routines
// that add, turn and rebuild records. Drawing is in shape_draw.h, the
// statements (SHAPE, CHANGESHAPE, DELETESHAPE, UPDATEREGION) in
// shape_statements.cpp.
//
// Layout for other areas (text shapes build on it): shape_table holds
// shape_count records in table order; a record's kind is its SHAPE keyword
// index (shape_word); a rectangle is a POLYGON with points_generated 1. A
// path group is its BEGINPATH record (the head, with the group's id) through
// the STROKE or STROKEFILL that closed it (group_last of the head); records
// inside a group have id -1. The point list belongs to the record.
#pragma once
#include <cstdint>
#include <vector>

#include "graph/graph_state.h"
#include "graph/shape_geometry.h"

struct array_entry;

// shape_keywords token codes (positions in the table).
enum shape_word : int {
  SW_TOP = 0, SW_LEFT = 1, SW_BOTTOM = 2, SW_RIGHT = 3, SW_CENTER = 4, SW_HRADIUS = 5, SW_VRADIUS = 6,
  SW_RADIUS = 7, SW_STARTANGLE = 8, SW_ENDANGLE = 9, SW_LINECOLOR = 10, SW_LINEWEIGHT = 11, SW_FILLCOLOR = 12,
  SW_FILLTYPE = 13, SW_HATCH = 14, SW_POLYPOINTS = 15, SW_POLYCOUNT = 16, SW_RECTANGLE = 17, SW_ELLIPSE = 18,
  SW_ARC = 19, SW_CHORD = 20, SW_PIE = 21, SW_POLYGON = 22, SW_LINE = 23, SW_LINESTART = 24, SW_LINEEND = 25,
  SW_POLYLINE = 26, SW_BEZIER = 27, SW_CTLPT1 = 28, SW_CTLPT2 = 29, SW_BEGINPATH = 30, SW_ENDPATH = 31,
  SW_STROKEFILL = 32, SW_STROKE = 33, SW_CLOSEFIGURE = 34, SW_SMOOTH = 35, SW_AVERAGE = 36, SW_TEXT = 37,
  SW_FONT = 38, SW_CHARACTERS = 39, SW_BOLD = 40, SW_ITALIC = 41, SW_CHAROUTLINE = 42, SW_ROTATE = 43,
  SW_ROTATECENTER = 44, SW_DIRECTION = 45, SW_PLOTCHAROUTLINE = 46, SW_MOUSECLICK = 47, SW_JUSTIFY = 48,
  SW_PROPFONTS = 49, SW_OUTLINE = 50, SW_RESET = 52,
};
constexpr int shape_word_count = 53;

enum shape_filltype : int { fill_solid = 0, fill_hatch = 1, fill_none = 2 };

constexpr int shape_text_size = 32;          // characters and font: at most 31 characters and a NUL
constexpr int shape_table_step = 50;         // the table grows by this many records
constexpr int shape_table_limit = 20000;     // records in use at most
constexpr int shape_polycount_max = 100000;

struct shape_record {
  double left = 0, top = 0, bottom = 0, right = 0;
  double centre_x = 0, centre_y = 0;            // after rotation (ellipse family); text: the anchor
  double base_centre_x = 0, base_centre_y = 0;  // before any rotation
  double box_x_max = 0, box_y_max = 0, box_x_min = 0, box_y_min = 0;  // around the turned figure
  double linestart_x = 0, linestart_y = 0;      // after rotation
  double lineend_x = 0, lineend_y = 0;
  double ctlpt1_x = 0, ctlpt1_y = 0;
  double ctlpt2_x = 0, ctlpt2_y = 0;
  double startangle = 0, endangle = 0;           // radians in [0, 2 pi)
  double rotate = 0;                             // radians; the ellipse family includes the group's angle
  double rotation_centre_x = 0, rotation_centre_y = 0;
  double base_rotation_centre_x = 0, base_rotation_centre_y = 0;
  int rotatecenter_given = 0;
  std::uint32_t linecolor = 0;
  double lineweight = 1;  // points, a whole number 0..10
  std::uint32_t fillcolor = 0;
  double smooth = 0, average = 0;
  int outline = 1;        // 0 none, 1 solid
  int filltype = fill_solid;
  int hatch = 0;          // 0 horizontal .. 5 diagcross
  int direction = 0;      // 0 normal, 1 reverse
  int justify = 0;        // 0 left, 1 center, 2 right
  std::vector<graph_point> points;  // the figure's own point list (empty when the kind has none)
  int count = 0;          // points in the list; kinds without a list: the POLYCOUNT in force
  int kind = 0;           // shape_word of the figure
  int points_generated = 0;  // 1: a rectangle's corners, rebuilt from the edges
  char characters[shape_text_size] = {};
  char font[shape_text_size] = {};
  int bold = 0;
  int italic = 0;
  int outline_measured = 0;
  int propfonts = 0;
  int mouseclick = 0;
  int previous_top_level = -1;  // the top-level record before this one's group
  int group_last = 0;           // last record of the group this record heads; -1 while a BEGINPATH group is open
  double id = -1;               // -1 inside a path group
};

// The table and its state.
struct shape_table_state {
  std::vector<shape_record> records;  // capacity grows by half, at least shape_table_step
  int shape_count = 0;
  int shape_id_counter = -1;
  int shape_group_head = -1;
  int shape_in_path_group = 0;
  int shape_path_open = 0;
  int clickable_shapes_exist = 0;
  int text_shapes_changed = 0;
};
extern shape_table_state shapes;

// The current SHAPE parameters.
struct shape_parameters {
  double top = 0, left = 0, bottom = 0, right = 0;
  double centre_x = 0, centre_y = 0;
  double hradius = 0, vradius = 0;
  double startangle = 0, endangle = 0;
  std::uint32_t linecolor = 0;
  double lineweight = 1;
  std::uint32_t fillcolor = 0;
  int filltype = fill_solid;
  int hatch = 0;
  int polypoints = -1;  // index of the point array in the array table, -1 none
  int polycount = 0;
  double linestart_x = 0, linestart_y = 0, lineend_x = 0, lineend_y = 0;
  double ctlpt1_x = 0, ctlpt1_y = 0, ctlpt2_x = 0, ctlpt2_y = 0;
  double smooth = 0, average = 0;
  char font[shape_text_size] = {};
  char characters[shape_text_size] = {};
  int bold = 0, italic = 0;
  double rotate = 0;
  double rotatecenter_x = 0, rotatecenter_y = 0;
  int rotatecenter_given = 0;
  int direction = 0;
  int justify = 0;
  int outline = 1;
  int mouseclick = 0;  // one-shot flags: the next figure added
  int propfonts = 0;
};
extern shape_parameters shape_param;

// The rotation being applied, and the open path group's rotation.
struct group_rotation_state {
  double angle = 0;
  shape_rotation_state turn;  // sine, cosine, squares and the group's centre
  int rotatecenter_given = 0;  // saved at BEGINPATH
};
extern shape_rotation_state shape_rotation;
extern group_rotation_state group_rotation;
// The kind shape_add adds.
extern int shape_kind;

// Edge setters of the parameters: each keeps centre and radii in step with
// the four edges.
void shape_param_set_top(double v);
void shape_param_set_left(double v);
void shape_param_set_bottom(double v);
void shape_param_set_right(double v);
void shape_param_set_center(double x, double y);
void shape_param_set_hradius(double v);
void shape_param_set_vradius(double v);

// Every parameter to its default except OUTLINE and the ROTATECENTER point
// (only its flag is cleared); clears the point array and the one-shot flags
// and resets the rotations' angles (their centres and the path-group state
// stay).
void shape_reset_parameters();
// The whole table back to empty (the graph reset): frees every record,
// resets the parameters with OUTLINE solid, and sets lastshapeid to -1.
void shape_table_reset();

// Appends one record of shape_kind built from the parameters. 0 or a negative
// reported code (257, 256, 282, 287, 288, 289, 298, 300).
int shape_add();

// SHAPE CHAROUTLINE: the characters as an outline point array (the text
// area). 0 or a negative reported code.
int shape_charoutline_to_array();

// Turns (x, y) by the shape rotation (when its sine is non-zero), then by the
// group rotation (when its sine is non-zero).
void shape_rotate_point(double& x, double& y);

// ---- geometry of records (CHANGESHAPE turns back, changes, turns forward) ----

// Turns r's line ends (and a Bezier's control points) about r's rotation
// centre by r's rotate; sign -1 turns back, else forward and then rebuilds
// r's box and widens the data extents.
void shape_rotate_line(shape_record& r, int sign);
// The same for r's point list (only when r's rotate is non-zero).
void shape_rotate_points(shape_record& r, int mode);
// Rebuilds an ellipse-family record from its base centre and half sizes.
void shape_compute_rotated_extent(shape_record& r);
// Rebuilds a rectangle's four corners from its edges (points generated only).
void shape_rebuild_rectangle_points(shape_record& r);
// Re-anchors a text shape at (left, bottom).
void shape_set_anchor(shape_record& r);
// Replaces r's point list by the first count points of the array at
// array_index, turned. 0 or the reported -288 / -289 (then count 0).
int shape_set_polygon_points(shape_record& r, int array_index, int count);

// The bounding box of n points into r's box, widening the data extents.
void shape_box_from_points(shape_record& r, const graph_point* p, int n);
