// The shape table, the current SHAPE parameters, adding a record, and the
// geometry routines that turn and rebuild records (see shapes.h).
#include "graph/shapes.h"

#include <cmath>
#include <cstring>
#include <new>

#include "graph/graph_window.h"
#include "interpreter/debugging.h"
#include "interpreter/errors.h"
#include "interpreter/keywords.h"
#include "interpreter/run_state.h"
#include "interpreter/variables.h"

shape_table_state shapes;
shape_parameters shape_param;
shape_rotation_state shape_rotation;
group_rotation_state group_rotation;
int shape_kind = 0;

namespace {

bool only_parsing() { return prescan_mode || no_execute; }

void set_lastshapeid(double id) { predefined_variables[PREDEF_LASTSHAPEID].value.number = id; }

void widen_by_box(const shape_record& r) {
  graph_widen_extents(r.box_x_min, r.box_y_min);
  graph_widen_extents(r.box_x_max, r.box_y_max);
}

// Moves an ellipse-family record to the turned centre (cx, cy): the edges
// move with it and it becomes the rotation centre.
void move_to_turned_centre(shape_record& r, double cx, double cy) {
  const double dx = cx - r.centre_x, dy = cy - r.centre_y;
  r.left += dx;
  r.right += dx;
  r.top += dy;
  r.bottom += dy;
  r.centre_x = r.rotation_centre_x = cx;
  r.centre_y = r.rotation_centre_y = cy;
}

// The box around an ellipse of half sizes a, b turned by the angle of sine
// s, cosine c, about r's centre; widens the data extents.
void set_ellipse_box(shape_record& r, double a, double b, double s, double c) {
  double hw = 0, hh = 0;
  shape_ellipse_half_extents(a, b, s, c, hw, hh);
  r.box_x_min = r.centre_x - hw;
  r.box_x_max = r.centre_x + hw;
  r.box_y_min = r.centre_y - hh;
  r.box_y_max = r.centre_y + hh;
  widen_by_box(r);
}

bool is_ellipse_family(int kind) { return kind >= SW_ELLIPSE && kind <= SW_PIE; }

// Four corners of a rectangle from its edges, in the order of its direction.
void rectangle_corners(const shape_record& r, graph_point* p) {
  p[0] = {r.left, r.bottom};
  p[2] = {r.right, r.top};
  if (r.direction == 0) {
    p[1] = {r.right, r.bottom};
    p[3] = {r.left, r.top};
  } else {
    p[1] = {r.left, r.top};
    p[3] = {r.right, r.bottom};
  }
}

void copy_text(char (&to)[shape_text_size], const char* from) {
  const std::size_t n = strnlen(from, shape_text_size - 1);
  std::memcpy(to, from, n);
  to[n] = 0;
}

// Sets the rotation in force from a record's rotate and rotation centre;
// back (sign -1) negates the sine.
void use_record_rotation(const shape_record& r, int sign) {
  shape_rotation_set_angle(shape_rotation, r.rotate);
  if (sign == -1) shape_rotation.sine = -shape_rotation.sine;
  shape_rotation.centre_x = r.rotation_centre_x;
  shape_rotation.centre_y = r.rotation_centre_y;
}

// Turns one point by the record's own rotation only (the open group's turn
// is left alone).
void turn_own(double& x, double& y) {
  if (shape_rotation.sine != 0) shape_turn_point(shape_rotation, x, y);
}

// The array at index when it is still the numeric array of two columns that
// POLYPOINTS named, else null.
const array_entry* point_array(int index) {
  if (index < 0 || static_cast<std::uint32_t>(index) >= array_count) return nullptr;
  const array_entry& a = array_table[index];
  if (a.type != ITEM_DOUBLE || a.dimension_count != 2 || a.dimension_sizes[1] != 2 || !a.data) return nullptr;
  return &a;
}

// Copies the first count points of the array into list. 0, or the reported
// -288 when the array is shorter, -289 when the list cannot be had (the list
// is then empty).
int copy_array_points(const array_entry& a, int count, std::vector<graph_point>& list) {
  if (count < 0 || a.dimension_sizes[0] < static_cast<std::uint32_t>(count)) return report_error(288);
  list.clear();
  try {
    list.resize(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    list.clear();
    list.shrink_to_fit();
    return report_error(289);
  }
  for (int i = 0; i < count; ++i) {
    const double x = a.data[static_cast<std::size_t>(i) * 2].number;
    const double y = a.data[static_cast<std::size_t>(i) * 2 + 1].number;
    list[static_cast<std::size_t>(i)] = {x, y};
  }
  return 0;
}

// The number stored in an outline list as a count: a whole number in
// 0..limit, else -1.
int outline_count(double v, int limit) {
  if (!(v >= 0 && v <= limit)) return -1;
  return static_cast<int>(v);
}

// Walks an outline point array (number of contours and points used; each
// contour its number of curves and its start point; each curve its number of
// points and the points), turning and widening by every start and curve
// point. Every index is bounded by the points used and the list's length.
// 0 or -1 for a structure that runs past its points.
int walk_outline(std::vector<graph_point>& p, bool turn) {
  const int n = static_cast<int>(p.size());
  if (n < 1) return -1;
  const int used = outline_count(p[0].y, n);
  const int contours = outline_count(p[0].x, n);
  if (used < 1 || contours < 0) return -1;
  int i = 1;
  auto take = [&]() -> graph_point* {
    if (i >= used) return nullptr;
    return &p[static_cast<std::size_t>(i++)];
  };
  auto visit = [&](graph_point& q) {
    if (turn) shape_rotate_point(q.x, q.y);
    graph_widen_extents(q.x, q.y);
  };
  for (int c = 0; c < contours; ++c) {
    graph_point* head = take();
    if (!head) return -1;
    const int curves = outline_count(head->x, used);
    graph_point* start = take();
    if (curves < 0 || !start) return -1;
    visit(*start);
    for (int k = 0; k < curves; ++k) {
      graph_point* curve = take();
      if (!curve) return -1;
      const int points = outline_count(curve->x, used);
      if (points < 0) return -1;
      for (int j = 0; j < points; ++j) {
        graph_point* q = take();
        if (!q) return -1;
        visit(*q);
      }
    }
  }
  return 0;
}

}  // namespace

// ---- parameters --------------------------------------------------------------

namespace {
// Radius and centre follow the edges.
void vertical_follows_edges() {
  shape_param.vradius = (shape_param.top - shape_param.bottom) / 2;
  shape_param.centre_y = shape_param.bottom + shape_param.vradius;
}
void horizontal_follows_edges() {
  shape_param.hradius = (shape_param.right - shape_param.left) / 2;
  shape_param.centre_x = shape_param.left + shape_param.hradius;
}
}  // namespace

void shape_param_set_top(double v) {
  shape_param.top = v;
  if (shape_param.top < shape_param.bottom) shape_param.bottom = shape_param.top;
  vertical_follows_edges();
}

void shape_param_set_bottom(double v) {
  shape_param.bottom = v;
  if (shape_param.top < shape_param.bottom) shape_param.top = shape_param.bottom;
  vertical_follows_edges();
}

void shape_param_set_left(double v) {
  shape_param.left = v;
  if (shape_param.right < shape_param.left) shape_param.right = shape_param.left;
  horizontal_follows_edges();
}

void shape_param_set_right(double v) {
  shape_param.right = v;
  if (shape_param.right < shape_param.left) shape_param.left = shape_param.right;
  horizontal_follows_edges();
}

void shape_param_set_center(double x, double y) {
  shape_parameters& p = shape_param;
  p.centre_x = x;
  p.centre_y = y;
  p.left = x - p.hradius;
  p.right = x + p.hradius;
  p.bottom = y - p.vradius;
  p.top = y + p.vradius;
}

void shape_param_set_hradius(double v) {
  shape_parameters& p = shape_param;
  p.hradius = v;
  p.left = p.centre_x - v;
  p.right = p.centre_x + v;
}

void shape_param_set_vradius(double v) {
  shape_parameters& p = shape_param;
  p.vradius = v;
  p.bottom = p.centre_y - v;
  p.top = p.centre_y + v;
}

void shape_reset_parameters() {
  const int outline = shape_param.outline;
  const double rcx = shape_param.rotatecenter_x, rcy = shape_param.rotatecenter_y;
  shape_param = shape_parameters{};
  shape_param.outline = outline;
  shape_param.rotatecenter_x = rcx;
  shape_param.rotatecenter_y = rcy;
  shape_param.rotatecenter_given = 0;
  const double cx = shape_rotation.centre_x, cy = shape_rotation.centre_y;
  shape_rotation = shape_rotation_state{};
  shape_rotation.centre_x = cx;
  shape_rotation.centre_y = cy;
  group_rotation.angle = 0;
  const double gx = group_rotation.turn.centre_x, gy = group_rotation.turn.centre_y;
  group_rotation.turn = shape_rotation_state{};
  group_rotation.turn.centre_x = gx;
  group_rotation.turn.centre_y = gy;
}

void shape_table_reset() {
  shapes.records.clear();
  shapes.records.shrink_to_fit();
  shapes.shape_count = 0;
  shapes.shape_id_counter = -1;
  shapes.shape_group_head = -1;
  shapes.shape_in_path_group = 0;
  shapes.shape_path_open = 0;
  shapes.clickable_shapes_exist = 0;
  shape_reset_parameters();
  shape_param.outline = 1;
  set_lastshapeid(-1);
  mouse_check_forward = 0;
}

void shape_rotate_point(double& x, double& y) {
  if (shape_rotation.sine != 0) shape_turn_point(shape_rotation, x, y);
  if (group_rotation.turn.sine != 0) shape_turn_point(group_rotation.turn, x, y);
}

// ---- adding a record -------------------------------------------------------------

int shape_add() {
  if (only_parsing()) return 0;
  if (!graph_window_is_open()) return report_error(257);
  shape_table_state& t = shapes;
  if (t.shape_count >= shape_table_limit) return report_error(282);
  if (t.records.size() >= t.records.capacity()) {
    try {
      // By half again, at least the step: adding stays linear in the table.
      const std::size_t capacity = t.records.capacity();
      t.records.reserve(capacity + (capacity / 2 > shape_table_step ? capacity / 2 : shape_table_step));
    } catch (const std::bad_alloc&) {
      return report_error(256);
    }
  }
  const shape_parameters& p = shape_param;
  const int index = t.shape_count;
  shape_record r;
  r.left = p.left;
  r.top = p.top;
  r.bottom = p.bottom;
  r.right = p.right;
  r.centre_x = r.base_centre_x = p.centre_x;
  r.centre_y = r.base_centre_y = p.centre_y;
  r.linestart_x = p.linestart_x;
  r.linestart_y = p.linestart_y;
  r.lineend_x = p.lineend_x;
  r.lineend_y = p.lineend_y;
  r.ctlpt1_x = p.ctlpt1_x;
  r.ctlpt1_y = p.ctlpt1_y;
  r.ctlpt2_x = p.ctlpt2_x;
  r.ctlpt2_y = p.ctlpt2_y;
  r.startangle = p.startangle;
  r.endangle = p.endangle;
  r.rotate = p.rotate;
  r.rotation_centre_x = r.base_rotation_centre_x = p.rotatecenter_x;
  r.rotation_centre_y = r.base_rotation_centre_y = p.rotatecenter_y;
  r.rotatecenter_given = p.rotatecenter_given;
  r.linecolor = p.linecolor;
  r.lineweight = p.lineweight;
  r.fillcolor = p.fillcolor;
  r.smooth = p.smooth;
  r.average = p.average;
  r.outline = p.outline;
  r.filltype = p.filltype;
  r.hatch = p.hatch;
  r.direction = p.direction;
  r.justify = p.justify;
  r.count = p.polycount;
  r.kind = shape_kind;
  copy_text(r.characters, p.characters);
  copy_text(r.font, p.font);
  r.bold = p.bold;
  r.italic = p.italic;
  r.propfonts = p.propfonts;
  shape_param.propfonts = 0;
  r.mouseclick = p.mouseclick;
  if (p.mouseclick) t.clickable_shapes_exist = 1;
  shape_param.mouseclick = 0;

  // Ids and groups.
  const int saved_head = t.shape_group_head;
  r.previous_top_level = t.shape_group_head;
  r.group_last = index;
  if (!t.shape_in_path_group) {
    t.shape_group_head = index;
    ++t.shape_id_counter;
    r.id = t.shape_id_counter;
  } else {
    r.previous_top_level = t.records[static_cast<std::size_t>(t.shape_group_head)].previous_top_level;
    r.id = -1;
  }
  set_lastshapeid(r.id);
  if ((r.kind == SW_STROKE || r.kind == SW_STROKEFILL) && t.shape_in_path_group) {
    t.shape_in_path_group = 0;
    t.records[static_cast<std::size_t>(t.shape_group_head)].group_last = index;
  }
  auto fail = [&](int code) {
    t.shape_group_head = saved_head;
    return code;
  };
  auto keep = [&]() {
    t.records.push_back(std::move(r));  // within capacity: cannot throw
    ++t.shape_count;
    graph_mark_changed();
    return 0;
  };

  if (r.kind == SW_BEGINPATH) {
    if (t.shape_path_open) return fail(report_error(298));
    t.shape_path_open = 1;
    t.shape_in_path_group = 1;
    r.group_last = -1;
    group_rotation.angle = p.rotate;
    shape_rotation_set_angle(group_rotation.turn, p.rotate);
    group_rotation.turn.centre_x = p.rotatecenter_given ? p.rotatecenter_x : 0;
    group_rotation.turn.centre_y = p.rotatecenter_given ? p.rotatecenter_y : 0;
    group_rotation.rotatecenter_given = p.rotatecenter_given;
    shape_param.rotatecenter_given = 0;
    shape_param.rotate = 0;
    shape_rotation = shape_rotation_state{};
    return keep();
  }
  if (r.kind == SW_ENDPATH) {
    t.shape_path_open = 0;
    shape_param.rotatecenter_x = shape_rotation.centre_x = group_rotation.turn.centre_x;
    shape_param.rotatecenter_y = shape_rotation.centre_y = group_rotation.turn.centre_y;
    shape_param.rotate = group_rotation.angle;
    shape_param.rotatecenter_given = group_rotation.rotatecenter_given;
    shape_rotation_set_angle(shape_rotation, group_rotation.angle);
    group_rotation.angle = 0;
    group_rotation.turn = shape_rotation_state{};
    return keep();
  }
  if (r.kind == SW_TEXT) {
    t.text_shapes_changed = 1;
    shape_param.centre_x = r.centre_x = r.base_centre_x = p.left;
    shape_param.centre_y = r.centre_y = r.base_centre_y = p.bottom;
  }
  if (!p.rotatecenter_given) {
    shape_param.rotatecenter_x = p.centre_x;
    shape_param.rotatecenter_y = p.centre_y;
  }
  r.rotation_centre_x = r.base_rotation_centre_x = shape_rotation.centre_x = p.rotatecenter_x;
  r.rotation_centre_y = r.base_rotation_centre_y = shape_rotation.centre_y = p.rotatecenter_y;
  shape_rotation_set_angle(shape_rotation, p.rotate);

  const bool turned = p.rotate != 0 || group_rotation.angle != 0;
  if (((r.kind == SW_LINE || r.kind == SW_BEZIER) && p.rotate != 0) || group_rotation.angle != 0) {
    shape_rotate_point(r.linestart_x, r.linestart_y);
    shape_rotate_point(r.lineend_x, r.lineend_y);
  }
  if (r.kind == SW_BEZIER && turned) {
    shape_rotate_point(r.ctlpt1_x, r.ctlpt1_y);
    shape_rotate_point(r.ctlpt2_x, r.ctlpt2_y);
  }

  if (is_ellipse_family(r.kind)) {
    const double a = r.right - r.centre_x, b = r.top - r.centre_y;
    if (turned) {
      double cx = r.centre_x, cy = r.centre_y;
      shape_rotate_point(cx, cy);
      move_to_turned_centre(r, cx, cy);
      r.rotate += group_rotation.angle;
      if (r.rotate > shape_two_pi) r.rotate -= shape_two_pi;
    }
    set_ellipse_box(r, a, b, std::sin(r.rotate), std::cos(r.rotate));
    return keep();
  }

  if (r.kind == SW_RECTANGLE) {
    try {
      r.points.resize(4);
    } catch (const std::bad_alloc&) {
      return fail(report_error(289));
    }
    rectangle_corners(r, r.points.data());
    r.count = 4;
    r.kind = SW_POLYGON;
    r.points_generated = 1;
  } else if (r.kind == SW_LINE || r.kind == SW_BEZIER) {
    graph_point ends[4] = {{r.linestart_x, r.linestart_y}, {r.lineend_x, r.lineend_y},
                           {r.ctlpt1_x, r.ctlpt1_y}, {r.ctlpt2_x, r.ctlpt2_y}};
    shape_box_from_points(r, ends, r.kind == SW_BEZIER ? 4 : 2);
    return keep();
  } else if (r.kind == SW_POLYGON || r.kind == SW_POLYLINE || r.kind == SW_PLOTCHAROUTLINE) {
    const array_entry* a = point_array(p.polypoints);
    if (!a) return fail(report_error(287));
    if (r.kind == SW_PLOTCHAROUTLINE) {
      // The first point's y is the number of points used; four more are read.
      const double used = a->dimension_sizes[0] > 0 ? a->data[1].number : NAN;
      if (!(used >= 0 && used <= shape_polycount_max)) return fail(report_error(287));
      shape_param.polycount = static_cast<int>(used) + 5;
      r.count = shape_param.polycount;
    }
    // Without a point count no figure can be made: refused, never read.
    if (r.count < 1) return fail(report_error(287));
    const int c = copy_array_points(*a, r.count, r.points);
    if (c < 0) return fail(c);
  }

  if (r.kind == SW_PLOTCHAROUTLINE) {
    if (walk_outline(r.points, turned) < 0) return fail(report_error(300));
    return keep();
  }
  if (r.kind == SW_POLYGON || r.kind == SW_POLYLINE) {
    if (turned)
      for (graph_point& q : r.points) shape_rotate_point(q.x, q.y);
    shape_box_from_points(r, r.points.data(), static_cast<int>(r.points.size()));
  }
  return keep();
}

// ---- geometry of records ------------------------------------------------------------

void shape_box_from_points(shape_record& r, const graph_point* p, int n) {
  if (n < 1) return;
  r.box_x_min = r.box_x_max = p[0].x;
  r.box_y_min = r.box_y_max = p[0].y;
  for (int i = 1; i < n; ++i) {
    r.box_x_min = std::fmin(r.box_x_min, p[i].x);
    r.box_x_max = std::fmax(r.box_x_max, p[i].x);
    r.box_y_min = std::fmin(r.box_y_min, p[i].y);
    r.box_y_max = std::fmax(r.box_y_max, p[i].y);
  }
  widen_by_box(r);
}

void shape_rotate_line(shape_record& r, int sign) {
  use_record_rotation(r, sign);
  turn_own(r.linestart_x, r.linestart_y);
  turn_own(r.lineend_x, r.lineend_y);
  const bool bezier = r.kind == SW_BEZIER;
  if (bezier) {
    turn_own(r.ctlpt1_x, r.ctlpt1_y);
    turn_own(r.ctlpt2_x, r.ctlpt2_y);
  }
  if (sign == -1) return;
  graph_point ends[4] = {{r.linestart_x, r.linestart_y}, {r.lineend_x, r.lineend_y},
                         {r.ctlpt1_x, r.ctlpt1_y}, {r.ctlpt2_x, r.ctlpt2_y}};
  shape_box_from_points(r, ends, bezier ? 4 : 2);
}

void shape_rotate_points(shape_record& r, int mode) {
  use_record_rotation(r, mode);
  if (r.rotate != 0)
    for (graph_point& q : r.points) turn_own(q.x, q.y);
  if (mode == -1) return;
  shape_box_from_points(r, r.points.data(), static_cast<int>(r.points.size()));
}

void shape_compute_rotated_extent(shape_record& r) {
  const double a = r.right - r.centre_x, b = r.top - r.centre_y;
  shape_rotation_set_angle(shape_rotation, r.rotate);
  r.centre_x = r.base_centre_x;
  r.centre_y = r.base_centre_y;
  r.top = r.centre_y + b;
  r.bottom = r.centre_y - b;
  r.left = r.centre_x - a;
  r.right = r.centre_x + a;
  r.rotation_centre_x = r.base_rotation_centre_x;
  r.rotation_centre_y = r.base_rotation_centre_y;
  if (!r.rotatecenter_given) {
    r.rotation_centre_x = r.centre_x;
    r.rotation_centre_y = r.centre_y;
  }
  if (r.rotate != 0) {
    shape_rotation.centre_x = r.rotation_centre_x;
    shape_rotation.centre_y = r.rotation_centre_y;
    double cx = r.centre_x, cy = r.centre_y;
    shape_turn_point(shape_rotation, cx, cy);
    move_to_turned_centre(r, cx, cy);
  }
  set_ellipse_box(r, a, b, shape_rotation.sine, shape_rotation.cosine);
}

void shape_rebuild_rectangle_points(shape_record& r) {
  if (r.points_generated != 1) return;
  r.centre_x = r.base_centre_x = (r.left + r.right) / 2;
  r.centre_y = r.base_centre_y = (r.top + r.bottom) / 2;
  if (!r.rotatecenter_given) {
    r.rotation_centre_x = r.base_rotation_centre_x = r.centre_x;
    r.rotation_centre_y = r.base_rotation_centre_y = r.centre_y;
  }
  // A rectangle always keeps four corners, whatever list it was given.
  if (r.points.size() != 4) {
    try {
      r.points.resize(4);
    } catch (const std::bad_alloc&) {
      r.points.clear();
      r.count = 0;
      return;
    }
  }
  r.count = 4;
  rectangle_corners(r, r.points.data());
  shape_rotate_points(r, 1);
}

void shape_set_anchor(shape_record& r) {
  r.centre_x = r.base_centre_x = r.left;
  r.centre_y = r.base_centre_y = r.bottom;
  if (!r.rotatecenter_given) {
    r.rotation_centre_x = r.base_rotation_centre_x = r.centre_x;
    r.rotation_centre_y = r.base_rotation_centre_y = r.centre_y;
  }
  shapes.text_shapes_changed = 1;
}

int shape_set_polygon_points(shape_record& r, int array_index, int count) {
  const array_entry* a = point_array(array_index);
  if (!a) return report_error(287);
  if (count < 0 || a->dimension_sizes[0] < static_cast<std::uint32_t>(count)) return report_error(288);
  const int c = copy_array_points(*a, count, r.points);
  if (c < 0) {
    r.count = 0;  // no list: nothing is drawn or turned
    return c;
  }
  r.count = count;
  shape_rotate_points(r, 1);
  return 0;
}
