// The text table: every text TEXT puts on the graph, the two axis titles,
// the defaults for later texts, the measuring of each text (once per change
// of its string) and the placing of its anchor at drawing time. A text given
// by a string variable follows the variable's value, so a new value shows at
// the next repaint; a literal (or an array element's or a parameter's value)
// is kept in the record itself, so relabelling in a loop uses up no variables.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "graph/graph_state.h"
#include "graph/text_measure.h"
#include "ports/draw_device.h"

union value_slot;

constexpr int text_table_step = 50;     // the table grows by this many records
constexpr int text_table_max = 20000;   // and holds at most this many
constexpr int text_face_size = 32;      // face name with its NUL
constexpr double text_default_points = 18;

enum text_place_kind : int { text_place_none = 0, text_place_percent = 1, text_place_data = 2 };

struct text_record {
  int x_kind = text_place_none;  // 1: x is a percentage of the plot width; 2: data units
  int y_kind = text_place_none;  // 1: y is a percentage of the plot height from the bottom; 2: data units
  double x = 0, y = 0;
  double x2 = 0, y2 = 0;         // placement range ends (with has_x2, has_y2)
  ::value_slot* value_slot = nullptr;  // the string variable whose text is drawn; null = none
  bool has_own_text = false;     // the text is own_text (value_slot is then null)
  std::string own_text;
  int cached_length = 0;         // length and hash of the text last measured
  std::uint32_t cached_hash = 0;
  draw_color color = 0;
  int boxed = 0;
  double size = 0;      // points; 0 = not given (18)
  double datasize = 0;  // height in vertical data units; 0 = not given
  char font[text_face_size] = {};
  int bold = 0;
  int italic = 0;
  double angle = 0;     // radians, counter-clockwise, [0, 2 pi)
  int measured = 0;
  int has_x2 = 0, has_y2 = 0;
  int justify = 1;      // 0 left, 1 center, 2 right
  int has_shifts = 0;
  double box_x_max = 0, box_x_min = 0, box_y_max = 0, box_y_min = 0;  // turned box, font units
  double pos_x = 0, pos_y = 0;  // anchor in data units (drawing time)
  double em_left = 0, em_top = 0, em_right = 0, em_bottom = 0;        // unrotated box, font units
  // The change key of the string whose measuring last failed (reported
  // once; measuring is retried at every drawing).
  int failed_length = -1;
  std::uint32_t failed_hash = 0;
};

struct text_state {
  std::vector<text_record> table;  // text_capacity records allocated
  int text_count = 0;
  int text_capacity = 0;
  text_record xaxis_title, yaxis_title;
  char text_default_font[text_face_size] = {};
  int text_default_bold = 1;
  int text_default_italic = 0;
  // The measuring font last used and its metrics.
  bool measure_font_valid = false;
  const FontEngine* measure_engine = nullptr;
  font_spec measure_font;
  font_metrics measure_metrics;
  // Axis titles of the render in progress (axis_title_metrics).
  double xaxis_title_pt = 0, yaxis_title_pt = 0;
  font_metrics xaxis_title_tm, yaxis_title_tm;
  int xaxis_title_pen_px = 0, yaxis_title_pen_px = 0;
  // The date text of each date-time axis in the render in progress, which
  // "&date" in that axis's title stands for (set by the date-time axis
  // drawing; empty otherwise).
  std::string xaxis_date_text, yaxis_date_text;
};
extern text_state texts;

// The text of a record: its own text, or the current value of its variable
// ("" without either).
std::string_view text_record_text(const text_record& t);
// Whether a record holds a text (an own text or a variable); titles without
// one are not drawn.
inline bool text_record_in_use(const text_record& t) { return t.value_slot || t.has_own_text; }

// ---- table life ----

// Empties the table and the titles and puts the defaults back, with room for
// 50 texts (window creation, graph reset). 0, or the reported -256.
int text_table_reset();
// Drops every text and both titles, keeping the table's room (the variables
// they follow are being cleared).
void text_clear_all();
// Grows the table by 50 records when it is full. 0, -279 (full at 20000),
// -256 (no memory; the table stays as it was); both reported.
int text_table_make_room();

// ---- measuring and placing ----

// Where the texts of a render land: the render's device and plot values.
struct text_view {
  double px_per_inch_x = 96, px_per_inch_y = 96;
  double px_per_unit_x = 1, px_per_unit_y = 1;
  double hoffset = 0, voffset = 0;  // graph_hoffset_calc, graph_voffset_calc
  double plot_width_in = 0, plot_height_in = 0;
  int plot_width_px = 0, plot_height_px = 0, plot_left_px = 0, plot_top_px = 0;
  bool log_x = false, log_y = false;
  view_box zbox_axis;  // z box in axis units (log10 on a logarithmic axis)
};
// The view of the render in progress.
text_view text_current_view();

// Measures t when init is 1 or its string changed since it was last measured
// successfully, and widens the data extents by its data positions. With init
// 0 it then places the anchor (pos_x, pos_y) for view v and culls. Returns 1
// to draw it; 0 for an empty or unmeasured text, a text outside the z box,
// or init 1; the reported -280 when the measuring font cannot be made (the
// change key then stays as it was, so the next drawing measures again).
int text_measure_item(FontEngine& fonts, text_record& t, int init, const text_view* v);
// Places the anchor of a measured text for view v; 1 visible, 0 culled.
int text_place_item(text_record& t, const text_view& v);
// Font units to data units for a text of view v: sx horizontal, sy vertical.
void text_unit_scales(const text_record& t, const text_view& v, double& sx, double& sy);

// ---- axis titles ----

// Sizes the axis titles for the render on dev and the room kept for them.
// 0, or the reported -280 when a title font cannot be made.
int axis_title_metrics(DrawDevice& dev);
