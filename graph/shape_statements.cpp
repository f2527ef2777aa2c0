// The shape statements: SHAPE (keywords into the current parameters, then
// one figure per kind keyword), CHANGESHAPE (edits a record in place through
// the geometry routines), DELETESHAPE (removes a figure or a whole path
// group) and UPDATEREGION (repaints a rectangle of the graph).
#include <cctype>
#include <cmath>
#include <string>
#include <cstring>
#include <string_view>

#include "graph/graph_params.h"
#include "graph/graph_window.h"
#include "graph/scales.h"
#include "graph/shape_statements.h"
#include "graph/shapes.h"
#include "interpreter/conversions.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/functions.h"
#include "interpreter/keywords.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/statements.h"
#include "interpreter/variables.h"
#include "ports/graph_host_port.h"

namespace {

bool only_parsing() { return prescan_mode || no_execute; }

// ---- value readers shared by SHAPE and CHANGESHAPE; invalid is 284 or 337 ----

// "=" and a number; with lo <= hi and check, the range is enforced.
int read_number(int invalid, double lo, double hi, bool check, double& out) {
  if (graph_expect_equals() < 0) return -251;
  const int r = graph_read_number(invalid, true);
  if (r < 0) return r;
  if (check && !only_parsing() && graph_check_param_range(lo, hi) < 0) return -252;
  out = double_accumulator;
  return 0;
}

int read_integer(int invalid, double lo, double hi, bool check, double& out) {
  const int r = read_number(invalid, lo, hi, check, out);
  if (r < 0) return r;
  out = std::isfinite(out) ? std::trunc(out) : 0;
  return 0;
}

int read_angle(int invalid, bool check, double& out) {
  if (graph_expect_equals() < 0) return -251;
  const int r = graph_read_number(invalid, true);
  if (r < 0) return r;
  if (check && !only_parsing() && graph_parse_angle() < 0) return -252;
  out = double_accumulator;
  return 0;
}

int read_color(std::uint32_t& out) {
  if (graph_expect_equals() < 0) return -251;
  const int c = graph_parse_color();
  if (c < 0) return -1;
  out = static_cast<std::uint32_t>(c);
  return 0;
}

// A parenthesised pair (the "=" already read).
int read_point_list(double& x, double& y) {
  if (skip_blanks() != '(') return report_error(193);
  expr_item list[max_parameters];
  int count = 0;
  if (get_parameter_list(&count, list) < 0) return -1;
  if (count == 0) return report_error(193);
  if (count != 2) return report_error(145);
  if (item_to_double(list[0]) < 0 || item_to_double(list[1]) < 0) return -1;
  x = list[0].value.number;
  y = list[1].value.number;
  return 0;
}

int read_point(double& x, double& y) {
  if (graph_expect_equals() < 0) return -251;
  return read_point_list(x, y);
}

int read_string(char (&out)[shape_text_size]) {
  if (graph_expect_equals() < 0) return -251;
  const int type = evaluate_expression_release_temps(2);
  if (type < 0) return type;
  if (type != ITEM_STRING) return report_error(146);
  const std::size_t n = static_cast<std::size_t>(string_accumulator_length) < shape_text_size - 1
                            ? static_cast<std::size_t>(string_accumulator_length)
                            : shape_text_size - 1;
  std::memcpy(out, string_accumulator, n);
  out[n] = 0;
  return 0;
}

// One word out of words (any case): its index, -2 when nothing follows (the
// value stays), or a negative code.
int read_word(int invalid, const char* const* words, int count, bool check) {
  if (graph_expect_equals() < 0) return -251;
  expr_item item;
  const int type = get_item(item, GI_DATA_VALUE);
  if (type < 0) return type;
  if (type == 0) return -2;
  if (type != ITEM_STRING) return report_error(invalid);
  const std::string_view text(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
  for (int i = 0; i < count; ++i) {
    const std::string_view w(words[i]);
    if (w.size() != text.size()) continue;
    bool same = true;
    for (std::size_t k = 0; k < w.size() && same; ++k)
      same = (text[k] | 0x20) == w[k] || text[k] == w[k];
    if (same) return i;
  }
  if (!check) return -3;  // not one of the words, and not refused here
  return report_error(invalid);
}

const char* const filltype_words[] = {"solid", "hatch", "none"};
const char* const hatch_words[] = {"horizontal", "vertical", "left", "right", "cross", "diagcross"};
const char* const direction_words[] = {"normal", "reverse"};
const char* const justify_words[] = {"left", "center", "right"};
const char* const outline_words[] = {"none", "solid"};

// POLYPOINTS: a whole numeric array of two dimensions, the second of size 2,
// written as its name with empty parentheses, p(). Any other form (a bare
// name, an element, a number) is 285, also while only parsing; the array
// itself is looked up (never created) only when the program runs.
int read_polypoints(int& index) {
  if (graph_expect_equals() < 0) return -251;
  skip_blanks();
  error_column = static_cast<int>(scan_column());  // errors point at the value
  const char* p = scan_pointer;
  while (p < line_end && (std::isalnum(static_cast<unsigned char>(*p)) || *p == '_' || *p == '$' || *p == '#')) ++p;
  const char* q = p;
  while (q < line_end && *q == ' ') ++q;
  if (p == scan_pointer || q >= line_end || *q != '(') return report_error(285);
  const char* r = q + 1;
  while (r < line_end && *r == ' ') ++r;
  if (r >= line_end || *r != ')') return report_error(285);
  const std::string name(static_cast<const char*>(scan_pointer), p);
  scan_pointer = const_cast<char*>(r + 1);
  expr_item item;
  const int type = get_item_from_text(name.c_str(), GI_LOOKUP_ONLY, item);
  if (type < 0) return report_error(10);
  if (only_parsing()) return 0;  // arrays exist only when the program runs
  if (type != ITEM_NUMERIC_ARRAY || !item.array) return report_error(285);
  const array_entry& a = *item.array;
  if (a.dimension_count != 2 || a.dimension_sizes[1] != 2) return report_error(286);
  index = static_cast<int>(item.array - array_table);
  return 0;
}

// ROTATECENTER: a point, or the word "center" (rotation centre follows the
// centre). Returns 1 for a point, 0 for "center", or a negative code.
int read_rotatecenter(int invalid, double& x, double& y) {
  if (graph_expect_equals() < 0) return -251;
  if (skip_blanks() == '(') {
    const int r = read_point_list(x, y);
    return r < 0 ? r : 1;
  }
  expr_item item;
  const int type = get_item(item, GI_WORD | GI_DATA_VALUE);
  if (type < 0) return report_error(10);
  if (type != ITEM_STRING) return report_error(146);
  const std::string_view text(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
  if (text.size() != 6) return report_error(invalid);
  for (std::size_t k = 0; k < 6; ++k)
    if ((text[k] | 0x20) != "center"[k]) return report_error(invalid);
  return 0;
}

bool is_kind_keyword(int w) {
  return (w >= SW_RECTANGLE && w <= SW_LINE) || w == SW_POLYLINE || w == SW_BEZIER ||
         (w >= SW_BEGINPATH && w <= SW_CLOSEFIGURE) || w == SW_TEXT || w == SW_CHAROUTLINE ||
         w == SW_PLOTCHAROUTLINE;
}

// One valued SHAPE keyword: reads its value and, when executing, sets the
// parameter.
int shape_value(int w) {
  shape_parameters& p = shape_param;
  const bool set = !only_parsing();
  double v = 0;
  int r = 0;
  switch (w) {
    case SW_TOP: case SW_LEFT: case SW_BOTTOM: case SW_RIGHT:
      if ((r = read_number(284, 0, 0, false, v)) < 0) return r;
      if (set) {
        if (w == SW_TOP) shape_param_set_top(v);
        if (w == SW_LEFT) shape_param_set_left(v);
        if (w == SW_BOTTOM) shape_param_set_bottom(v);
        if (w == SW_RIGHT) shape_param_set_right(v);
      }
      return 0;
    case SW_CENTER: {
      double x = 0, y = 0;
      if ((r = read_point(x, y)) < 0) return r;
      if (set) shape_param_set_center(x, y);
      return 0;
    }
    case SW_HRADIUS: case SW_VRADIUS: case SW_RADIUS:
      if ((r = read_number(284, 0, INFINITY, true, v)) < 0) return r;
      if (set && w != SW_VRADIUS) shape_param_set_hradius(v);
      if (set && w != SW_HRADIUS) shape_param_set_vradius(v);
      return 0;
    case SW_STARTANGLE: case SW_ENDANGLE:
      if ((r = read_angle(284, true, v)) < 0) return r;
      if (set) (w == SW_STARTANGLE ? p.startangle : p.endangle) = v;
      return 0;
    case SW_LINECOLOR: case SW_FILLCOLOR: {
      std::uint32_t c = 0;
      if ((r = read_color(c)) < 0) return r;
      if (set) (w == SW_LINECOLOR ? p.linecolor : p.fillcolor) = c;
      return 0;
    }
    case SW_LINEWEIGHT:
      if ((r = read_integer(284, 0, 10, true, v)) < 0) return r;
      if (set) p.lineweight = v;
      return 0;
    case SW_FILLTYPE: case SW_HATCH: case SW_DIRECTION: case SW_JUSTIFY: case SW_OUTLINE: {
      const char* const* words = w == SW_FILLTYPE ? filltype_words : w == SW_HATCH ? hatch_words
                                 : w == SW_DIRECTION ? direction_words : w == SW_JUSTIFY ? justify_words
                                                                           : outline_words;
      const int count = w == SW_HATCH ? 6 : (w == SW_DIRECTION || w == SW_OUTLINE) ? 2 : 3;
      const int i = read_word(284, words, count, true);
      if (i == -2) return 0;
      if (i < 0) return i;
      if (!set) return 0;
      if (w == SW_FILLTYPE) p.filltype = i;
      if (w == SW_HATCH) p.hatch = i;
      if (w == SW_DIRECTION) p.direction = i;
      if (w == SW_JUSTIFY) p.justify = i;
      if (w == SW_OUTLINE) p.outline = i;
      return 0;
    }
    case SW_POLYPOINTS: {
      int index = -1;
      if ((r = read_polypoints(index)) < 0) return r;
      if (set) p.polypoints = index;
      return 0;
    }
    case SW_POLYCOUNT:
      if ((r = read_integer(284, 2, shape_polycount_max, true, v)) < 0) return r;
      if (set) p.polycount = static_cast<int>(v);
      return 0;
    case SW_LINESTART: case SW_LINEEND: case SW_CTLPT1: case SW_CTLPT2: {
      double x = 0, y = 0;
      if ((r = read_point(x, y)) < 0) return r;
      if (!set) return 0;
      double* target = w == SW_LINESTART ? &p.linestart_x : w == SW_LINEEND ? &p.lineend_x
                       : w == SW_CTLPT1 ? &p.ctlpt1_x : &p.ctlpt2_x;
      target[0] = x;
      (w == SW_LINESTART ? p.linestart_y : w == SW_LINEEND ? p.lineend_y : w == SW_CTLPT1 ? p.ctlpt1_y : p.ctlpt2_y) = y;
      return 0;
    }
    case SW_SMOOTH: case SW_AVERAGE:
      if ((r = read_number(284, 0, 10, true, v)) < 0) return r;
      if (set) (w == SW_SMOOTH ? p.smooth : p.average) = v;
      return 0;
    case SW_FONT: case SW_CHARACTERS: {
      char text[shape_text_size];
      if ((r = read_string(text)) < 0) return r;
      if (set) std::memcpy(w == SW_FONT ? p.font : p.characters, text, sizeof text);
      return 0;
    }
    case SW_BOLD:
      if ((r = read_integer(284, 0, 1000, true, v)) < 0) return r;
      if (set) p.bold = static_cast<int>(v);
      return 0;
    case SW_ITALIC:
      if ((r = read_integer(284, 0, 1, true, v)) < 0) return r;
      if (set) p.italic = static_cast<int>(v);
      return 0;
    case SW_ROTATE:
      if ((r = read_angle(284, true, v)) < 0) return r;
      if (set) p.rotate = v;
      return 0;
    case SW_ROTATECENTER: {
      double x = 0, y = 0;
      const int given = read_rotatecenter(252, x, y);
      if (given < 0) return given;
      if (!set) return 0;
      p.rotatecenter_given = given;
      if (given) {
        p.rotatecenter_x = x;
        p.rotatecenter_y = y;
      }
      return 0;
    }
    default: return report_error(283);
  }
}

}  // namespace

int stmt_shape() {
  int sequence[shape_word_count] = {};
  int counter = 1;
  while (scan_pointer < line_end) {
    const int w = graph_next_keyword(shape_keywords, 283);
    if (w < 0) return w;
    if (w == graph_list_end) break;
    if (is_kind_keyword(w)) {
      sequence[w] = counter++;
    } else if (w == SW_MOUSECLICK || w == SW_PROPFONTS) {
      if (!only_parsing()) (w == SW_MOUSECLICK ? shape_param.mouseclick : shape_param.propfonts) = 1;
      ++counter;
    } else if (w == SW_RESET) {
      if (!only_parsing()) shape_reset_parameters();
    } else {
      const int r = shape_value(w);
      if (r < 0) return r;
    }
  }
  if (only_parsing()) return 0;
  for (int s = 1; s < counter; ++s) {
    for (int kind = 0; kind < shape_word_count; ++kind) {
      if (sequence[kind] != s) continue;
      shape_kind = kind;
      const int r = kind == SW_CHAROUTLINE ? shape_charoutline_to_array() : shape_add();
      if (r < 0) return r;
    }
  }
  return 0;
}

// ---- CHANGESHAPE -------------------------------------------------------------------

namespace {

// changeshape_keywords token codes (positions in the table).
enum changeshape_word : int {
  CW_TOP = 0, CW_LEFT, CW_BOTTOM, CW_RIGHT, CW_CENTER, CW_HRADIUS, CW_VRADIUS, CW_RADIUS, CW_STARTANGLE,
  CW_ENDANGLE, CW_LINECOLOR, CW_LINEWEIGHT, CW_FILLCOLOR, CW_FILLTYPE, CW_HATCH, CW_LINESTART, CW_LINEEND,
  CW_CTLPT1, CW_CTLPT2, CW_SMOOTH, CW_AVERAGE, CW_FONT, CW_CHARACTERS, CW_BOLD, CW_ITALIC, CW_ROTATE,
  CW_ROTATECENTER, CW_DIRECTION, CW_JUSTIFY, CW_MOUSECLICK, CW_POLYPOINTS, CW_POLYCOUNT,
};

enum shape_family : int { family_line, family_list, family_rectangle, family_ellipse, family_text, family_other };

shape_family family_of(const shape_record& r) {
  if (r.kind == SW_LINE || r.kind == SW_BEZIER) return family_line;
  if (r.kind == SW_POLYGON && r.points_generated == 1) return family_rectangle;
  if (r.kind == SW_POLYGON || r.kind == SW_POLYLINE) return family_list;
  if (r.kind >= SW_ELLIPSE && r.kind <= SW_PIE) return family_ellipse;
  if (r.kind == SW_TEXT) return family_text;
  return family_other;
}

bool is_arc_kind(const shape_record& r) { return r.kind >= SW_ARC && r.kind <= SW_PIE; }
bool has_point_list(const shape_record& r) { return r.kind == SW_POLYGON || r.kind == SW_POLYLINE; }

// Moves an ellipse-family record's edges back to the unturned frame: the same
// distances from the centre, measured from the base centre.
void rebase_edges(shape_record& r) {
  const double dx = r.base_centre_x - r.centre_x, dy = r.base_centre_y - r.centre_y;
  r.left += dx;
  r.right += dx;
  r.top += dy;
  r.bottom += dy;
  r.centre_x = r.base_centre_x;
  r.centre_y = r.base_centre_y;
}

// Turns a record's own geometry back (-1) or forward (1) by its family.
void turn_record(shape_record& r, int sign) {
  const shape_family f = family_of(r);
  if (f == family_line) shape_rotate_line(r, sign);
  if (f == family_list || f == family_rectangle) shape_rotate_points(r, sign);
}

// One edge of TOP, LEFT, BOTTOM or RIGHT.
void change_edge(shape_record& r, int w, double v) {
  const shape_family f = family_of(r);
  if (f == family_ellipse) rebase_edges(r);  // compare the new edge in the frame it is given in
  switch (w) {
    case CW_TOP: r.top = v; if (r.top < r.bottom) r.bottom = r.top; break;
    case CW_BOTTOM: r.bottom = v; if (r.top < r.bottom) r.top = r.bottom; break;
    case CW_LEFT: r.left = v; if (r.right < r.left) r.right = r.left; break;
    case CW_RIGHT: r.right = v; if (r.right < r.left) r.left = r.right; break;
  }
  if (f == family_rectangle) shape_rebuild_rectangle_points(r);
  if (f == family_text) shape_set_anchor(r);
  if (f == family_ellipse) {
    if (w == CW_TOP || w == CW_BOTTOM) r.base_centre_y = (r.top + r.bottom) / 2;
    else r.base_centre_x = (r.left + r.right) / 2;
    r.centre_x = r.base_centre_x;
    r.centre_y = r.base_centre_y;
    shape_compute_rotated_extent(r);
  }
}

// HRADIUS (h), VRADIUS (v) or RADIUS (both).
void change_radius(shape_record& r, bool h, bool vert, double v) {
  const shape_family f = family_of(r);
  if (f == family_text) {
    if (h) r.right = r.left + 2 * v;
    if (vert) r.top = r.bottom + 2 * v;
    shape_set_anchor(r);
    return;
  }
  if (f == family_ellipse) rebase_edges(r);
  if (h) {
    r.left = r.centre_x - v;
    r.right = r.centre_x + v;
  }
  if (vert) {
    r.bottom = r.centre_y - v;
    r.top = r.centre_y + v;
  }
  if (f == family_ellipse) shape_compute_rotated_extent(r);
  if (f == family_rectangle) shape_rebuild_rectangle_points(r);
}

void change_center(shape_record& r, double x, double y) {
  const shape_family f = family_of(r);
  if (f == family_line || f == family_list) {
    turn_record(r, -1);
    r.centre_x = x;
    r.centre_y = y;
    if (!r.rotatecenter_given) {
      r.rotation_centre_x = x;
      r.rotation_centre_y = y;
    }
    turn_record(r, 1);
  } else if (f == family_ellipse || f == family_rectangle) {
    if (f == family_ellipse) rebase_edges(r);
    const double b = r.top - r.centre_y, a = r.right - r.centre_x;
    r.centre_x = r.base_centre_x = x;
    r.centre_y = r.base_centre_y = y;
    r.left = x - a;
    r.right = x + a;
    r.bottom = y - b;
    r.top = y + b;
    if (f == family_ellipse) shape_compute_rotated_extent(r);
    else shape_rebuild_rectangle_points(r);
  } else if (f == family_text) {
    const double width = r.right - r.left, height = r.top - r.bottom;
    r.left = x;
    r.bottom = y;
    r.right = x + width;
    r.top = y + height;
    shape_set_anchor(r);
  }
}

void change_rotate(shape_record& r, double v) {
  switch (family_of(r)) {
    case family_line: turn_record(r, -1); r.rotate = v; turn_record(r, 1); return;
    case family_list:
    case family_rectangle:
      turn_record(r, -1);
      r.rotate = v;
      if (!r.rotatecenter_given) {
        r.rotation_centre_x = r.centre_x;
        r.rotation_centre_y = r.centre_y;
      }
      turn_record(r, 1);
      return;
    case family_ellipse: r.rotate = v; shape_compute_rotated_extent(r); return;
    default: r.rotate = v; return;  // text and path records: the angle is read when drawn
  }
}

// given 1: the point (x, y); 0: follow the centre again.
void change_rotatecenter(shape_record& r, int given, double x, double y) {
  const shape_family f = family_of(r);
  if (f == family_line || f == family_list || (f == family_rectangle && !given)) {
    turn_record(r, -1);
    r.rotation_centre_x = given ? x : r.centre_x;
    r.rotation_centre_y = given ? y : r.centre_y;
    r.rotatecenter_given = given;
    turn_record(r, 1);
    return;
  }
  if (f == family_ellipse) {
    r.rotation_centre_x = r.base_rotation_centre_x = given ? x : r.base_centre_x;
    r.rotation_centre_y = r.base_rotation_centre_y = given ? y : r.base_centre_y;
    r.rotatecenter_given = given;
    shape_compute_rotated_extent(r);
    return;
  }
  if (f == family_text || f == family_rectangle) {
    r.rotation_centre_x = r.base_rotation_centre_x = given ? x : r.centre_x;
    r.rotation_centre_y = r.base_rotation_centre_y = given ? y : r.centre_y;
    r.rotatecenter_given = given;
    if (f == family_text) shape_set_anchor(r);
    else shape_rebuild_rectangle_points(r);
  }
}

struct change_target {
  int index = -1;       // the record the changes go to; -1: none (parse only)
  int head = -1;        // the record found by the id (MOUSECLICK)
  shape_record* get() const {
    if (index < 0 || index >= shapes.shape_count) return nullptr;  // gone meanwhile
    return &shapes.records[static_cast<std::size_t>(index)];
  }
};

int change_value(int w, const change_target& target, int& polypoints, int& polycount) {
  double v = 0;
  int r = 0;
  shape_record* rec = nullptr;
  switch (w) {
    case CW_TOP: case CW_LEFT: case CW_BOTTOM: case CW_RIGHT:
      if ((r = read_number(337, 0, 0, false, v)) < 0) return r;
      if ((rec = target.get())) change_edge(*rec, w, v);
      return 0;
    case CW_CENTER: {
      double x = 0, y = 0;
      if ((r = read_point(x, y)) < 0) return r;
      if ((rec = target.get())) change_center(*rec, x, y);
      return 0;
    }
    case CW_HRADIUS: case CW_VRADIUS: case CW_RADIUS:
      if ((r = read_number(337, 0, INFINITY, true, v)) < 0) return r;
      if ((rec = target.get())) change_radius(*rec, w != CW_VRADIUS, w != CW_HRADIUS, v);
      return 0;
    case CW_STARTANGLE: case CW_ENDANGLE: {
      const bool applies = target.get() && is_arc_kind(*target.get());
      if ((r = read_angle(337, applies, v)) < 0) return r;
      if (applies) (w == CW_STARTANGLE ? target.get()->startangle : target.get()->endangle) = v;
      return 0;
    }
    case CW_LINECOLOR: case CW_FILLCOLOR: {
      std::uint32_t c = 0;
      if ((r = read_color(c)) < 0) return r;
      if ((rec = target.get())) (w == CW_LINECOLOR ? rec->linecolor : rec->fillcolor) = c;
      return 0;
    }
    case CW_LINEWEIGHT:
      if ((r = read_integer(337, 0, 10, true, v)) < 0) return r;
      if ((rec = target.get())) rec->lineweight = v;
      return 0;
    case CW_FILLTYPE: case CW_HATCH: {
      const int i = read_word(337, w == CW_FILLTYPE ? filltype_words : hatch_words, w == CW_FILLTYPE ? 3 : 6, true);
      if (i == -2) return 0;
      if (i < 0) return i;
      if ((rec = target.get())) (w == CW_FILLTYPE ? rec->filltype : rec->hatch) = i;
      return 0;
    }
    case CW_DIRECTION: case CW_JUSTIFY: {
      rec = target.get();
      const bool applies = rec && (w == CW_DIRECTION ? is_arc_kind(*rec) : rec->kind == SW_TEXT);
      const int i = read_word(337, w == CW_DIRECTION ? direction_words : justify_words, w == CW_DIRECTION ? 2 : 3,
                              applies);
      if (i == -2 || i == -3) return 0;
      if (i < 0) return i;
      if (applies) (w == CW_DIRECTION ? target.get()->direction : target.get()->justify) = i;
      return 0;
    }
    case CW_LINESTART: case CW_LINEEND: case CW_CTLPT1: case CW_CTLPT2: {
      double x = 0, y = 0;
      if ((r = read_point(x, y)) < 0) return r;
      rec = target.get();
      if (!rec || family_of(*rec) != family_line) return 0;
      if ((w == CW_CTLPT1 || w == CW_CTLPT2) && rec->kind != SW_BEZIER) return 0;
      shape_rotate_line(*rec, -1);
      if (w == CW_LINESTART) { rec->linestart_x = x; rec->linestart_y = y; }
      if (w == CW_LINEEND) { rec->lineend_x = x; rec->lineend_y = y; }
      if (w == CW_CTLPT1) { rec->ctlpt1_x = x; rec->ctlpt1_y = y; }
      if (w == CW_CTLPT2) { rec->ctlpt2_x = x; rec->ctlpt2_y = y; }
      shape_rotate_line(*rec, 1);
      return 0;
    }
    case CW_SMOOTH: case CW_AVERAGE:
      if ((r = read_number(337, 0, 10, true, v)) < 0) return r;
      if ((rec = target.get()) && has_point_list(*rec)) (w == CW_SMOOTH ? rec->smooth : rec->average) = v;
      return 0;
    case CW_FONT: case CW_CHARACTERS: {
      char text[shape_text_size];
      if ((r = read_string(text)) < 0) return r;
      // A text shape keeps the extent measured first: the scales do not move
      // when only its text or face changes.
      if ((rec = target.get()) && rec->kind == SW_TEXT)
        std::memcpy(w == CW_FONT ? rec->font : rec->characters, text, sizeof text);
      return 0;
    }
    case CW_BOLD: case CW_ITALIC: {
      const bool applies = target.get() && target.get()->kind == SW_TEXT;
      if ((r = read_integer(337, 0, w == CW_BOLD ? 1000 : 1, applies, v)) < 0) return r;
      if (applies) (w == CW_BOLD ? target.get()->bold : target.get()->italic) = static_cast<int>(v);
      if (applies) shapes.text_shapes_changed = 1;
      return 0;
    }
    case CW_ROTATE:
      if ((r = read_angle(337, true, v)) < 0) return r;
      if ((rec = target.get())) change_rotate(*rec, v);
      return 0;
    case CW_ROTATECENTER: {
      double x = 0, y = 0;
      const int given = read_rotatecenter(337, x, y);
      if (given < 0) return given;
      if ((rec = target.get())) change_rotatecenter(*rec, given, x, y);
      return 0;
    }
    case CW_MOUSECLICK:
      if ((r = read_integer(337, 0, 1, true, v)) < 0) return r;
      if (target.head >= 0 && target.head < shapes.shape_count) {
        shapes.records[static_cast<std::size_t>(target.head)].mouseclick = static_cast<int>(v);
        if (v == 1) shapes.clickable_shapes_exist = 1;
      }
      return 0;
    case CW_POLYPOINTS:
      return read_polypoints(polypoints);
    case CW_POLYCOUNT:
      if ((r = read_integer(337, 2, shape_polycount_max, true, v)) < 0) return r;
      polycount = static_cast<int>(v);
      return 0;
    default: return report_error(336);
  }
}

int find_shape(double id) {
  for (int i = 0; i < shapes.shape_count; ++i)
    if (shapes.records[static_cast<std::size_t>(i)].id == id) return i;
  return -1;
}

}  // namespace

int stmt_changeshape() {
  int type = evaluate_expression_release_temps(2);
  if (type < 0) return type;
  if (type == 0 || result_to_double(type, 0) < 0) return report_error(335);
  const double id = std::floor(double_accumulator);
  if (!(id >= 0)) return report_error(335);
  change_target target;
  if (!only_parsing()) {
    if (!graph_window_is_open()) return report_error(263);
    const int found = find_shape(id);
    if (found < 0) return report_error(335);
    target.head = target.index = found;
    const shape_record& head = shapes.records[static_cast<std::size_t>(found)];
    if (head.kind == SW_BEGINPATH) {
      // The group's outline belongs to its closing record; an open group
      // takes no change (the keywords are still read).
      const int last = head.group_last;
      const bool closed = last > found && last < shapes.shape_count &&
                          (shapes.records[static_cast<std::size_t>(last)].kind == SW_STROKE ||
                           shapes.records[static_cast<std::size_t>(last)].kind == SW_STROKEFILL);
      target.index = closed ? last : -1;
      if (!closed) target.head = -1;
    }
  }
  int polypoints = -1, polycount = -1;
  bool changed = false;
  while (scan_pointer < line_end) {
    const int w = graph_next_keyword(changeshape_keywords, 336);
    if (w < 0) return w;
    if (w == graph_list_end) break;
    const int r = change_value(w, target, polypoints, polycount);
    if (r < 0) {
      if (changed) graph_mark_changed();
      return r;
    }
    changed = changed || target.index >= 0 || target.head >= 0;
    if (polypoints >= 0 && polycount >= 0) {
      shape_record* rec = target.get();
      if (rec && has_point_list(*rec)) {
        // A rectangle keeps at least its four corners.
        if (rec->points_generated == 1 && polycount < 4) return report_error(288);
        const int s = shape_set_polygon_points(*rec, polypoints, polycount);
        if (s < 0) {
          graph_mark_changed();
          return s;
        }
      }
      polypoints = polycount = -1;
    }
  }
  if (only_parsing() || target.head < 0) return 0;
  graph_mark_changed();
  return 0;
}

// ---- DELETESHAPE and UPDATEREGION --------------------------------------------------

int stmt_deleteshape(double id) {
  const int k = find_shape(id);
  if (k < 0) return 0;
  shape_table_state& t = shapes;
  const shape_record& head = t.records[static_cast<std::size_t>(k)];
  int last = head.group_last;
  // A group still open runs to the end of the table.
  const bool open_group = last < k || last >= t.shape_count;
  if (open_group) last = t.shape_count - 1;
  const int m = last - k + 1;
  const int removed_previous = head.previous_top_level;
  const bool removed_newest = t.shape_group_head == k;
  // Removing the group that is still being built ends it.
  if (head.kind == SW_BEGINPATH && (open_group || (t.shape_in_path_group && t.shape_group_head == k))) {
    t.shape_in_path_group = 0;
    t.shape_path_open = 0;
    group_rotation.angle = 0;
    group_rotation.turn = shape_rotation_state{};
  }
  t.records.erase(t.records.begin() + k, t.records.begin() + last + 1);
  t.shape_count -= m;
  for (int i = k; i < t.shape_count; ++i) {
    shape_record& r = t.records[static_cast<std::size_t>(i)];
    if (r.previous_top_level >= k && r.previous_top_level <= last)
      r.previous_top_level = removed_previous;
    else if (r.previous_top_level > last)
      r.previous_top_level -= m;
    if (r.group_last >= 0) r.group_last -= m;
  }
  if (removed_newest)
    t.shape_group_head = removed_previous;
  else if (t.shape_group_head > last)
    t.shape_group_head -= m;
  graph_host_port().invalidate();
  return 0;
}

int stmt_deleteshape() {
  const int type = evaluate_expression_release_temps(0);
  if (only_parsing()) return 0;
  if (type <= 0) return report_error(335);
  if (result_to_double(type, 1) < 0) return -1;
  const double v = double_accumulator;
  if (!(v >= 0)) return report_error(335);
  if (!graph_window_is_open()) return 0;
  return stmt_deleteshape(std::floor(v));
}

int stmt_updateregion(double x1, double y1, double x2, double y2) {
  if (!graph_window_is_open()) return report_error(263);
  view_compute_boxes();
  const view_box& z = render.zbox;
  auto clamp_x = [&](double x) {
    x = x < z.x_min ? z.x_min : x > z.x_max ? z.x_max : x;
    return graph.graph_hscale_log ? std::log10(x) : x;
  };
  auto clamp_y = [&](double y) {
    y = y < z.y_min ? z.y_min : y > z.y_max ? z.y_max : y;
    return graph.graph_vscale_log ? std::log10(y) : y;
  };
  const pixel_mapping m = current_mapping();
  graph_host_port().invalidate_rect(map_x(m, clamp_x(x1)), map_y(m, clamp_y(y1)), map_x(m, clamp_x(x2)),
                                    map_y(m, clamp_y(y2)));
  return 0;
}

int stmt_updateregion() {
  double v[4];  // x1, x2, y1, y2 as written
  for (int i = 0; i < 4; ++i) {
    const int type = evaluate_expression_release_temps(2);
    if (type == 0) return report_error(326);
    if (type < 0) return type;  // reported where it failed
    if (only_parsing()) continue;
    if (result_to_double(type, 0) < 0) return report_error(144);
    v[i] = double_accumulator;
  }
  if (only_parsing()) return 0;
  return stmt_updateregion(v[0], v[2], v[1], v[3]);
}
