// The graph state: the settings GRAPH writes, the values in force, the data
// extents, the per-render device and view values, and the element (plot)
// table. One instance of each struct, process-wide; graph_reset puts them back.
//
// Conventions: scales are data units per inch, offsets data units (a value v
// lies (v + offset) / scale inches from the left or bottom plot edge); on a
// logarithmic axis every value, scale, offset and limit is in log10 units.
// Colours are 0x00BBGGRR. Pixel values are ints; every double-to-pixel
// conversion saturates (graph_pixel).
#pragma once
#include <cfloat>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "ports/draw_device.h"

// ---- settings and values in force ----------------------------------------

constexpr double linear_offset_scale_limit = 100000010.0;
constexpr double datetime_offset_scale_limit = 1.2e15;
constexpr double log_limit_min = -323.30621534311587;
constexpr double log_limit_max = 308.25471555991675;
constexpr double datetime_limit = 1.593625448111377e17;
constexpr double graph_scale_min = 1e-306;  // smallest and largest scale, units per inch
constexpr double graph_scale_max = 1e307;

struct graph_state {
  // Settings that GRAPH writes.
  double graph_width = 7.5;  // inches
  double graph_height = 10;
  double graph_hscale = 0;   // requested; 0 = automatic
  double graph_vscale = 0;
  double graph_hoffset = 0;  // requested; 0 = automatic
  double graph_voffset = 0;
  double graph_hmargin = -1;  // printed page position; negative = centred
  double graph_vmargin = -1;
  double graph_axisweight = 1.5;  // points
  double graph_clearance = 0.1;   // inches
  int graph_border = 1;
  int graph_grid = 1;
  int graph_axes = 1;
  int graph_equalscales = 0;
  int graph_includexaxis = 1;
  int graph_includeyaxis = 1;
  int graph_numberxaxis = 1;
  int graph_numberyaxis = 1;
  int graph_lockscreen = 0;
  draw_color graph_bgcolor = 0xFFFFFF;
  draw_color graph_gridcolor = 0x808080;
  draw_color graph_axiscolor = 0x000000;
  int graph_hscale_log = 0;
  int graph_hscale_datetime = 0;
  int graph_vscale_log = 0;
  int graph_vscale_datetime = 0;
  double graph_hlimit_min = -DBL_MAX;
  double graph_hlimit_max = DBL_MAX;
  double graph_vlimit_min = -DBL_MAX;
  double graph_vlimit_max = DBL_MAX;

  // Values in force (computed before each drawing, and by zoom and move).
  double graph_hscale_calc = 0;
  double graph_vscale_calc = 0;
  double graph_hoffset_calc = 0;
  double graph_voffset_calc = 0;

  // Window and view values.
  int graph_crosshairs = 0;
  double grid_density = 1.0;  // 0.25..4
  int graph_window_reset_size = 0;
  int show_coordinates = 0;
  int graph_changed = 0;
  std::int64_t graph_change_stamp = 0;
  int graph_paint_busy = 0;
  double zbox_ratio = 0;        // 0 = default (2); valid 0.5..3
  double screen_box_ratio = 0;  // 0 = default (1)
  int zbox_override = 0;
  double zbox_override_left = 0, zbox_override_right = 0, zbox_override_top = 0, zbox_override_bottom = 0;
  int screen_box_override = 0;
  double screen_box_override_left = 0, screen_box_override_right = 0, screen_box_override_top = 0,
         screen_box_override_bottom = 0;
  // Window size requested by GRAPH width/height on an open window (outer pixels).
  int graph_window_width = 0;
  int graph_window_height = 0;
  int graph_frame_width = 0;   // window size minus client size
  int graph_frame_height = 0;

  // Data extents, widened by every plot point, text item and shape.
  double data_x_min = std::numeric_limits<double>::infinity();
  double data_x_max = -std::numeric_limits<double>::infinity();
  double data_y_min = std::numeric_limits<double>::infinity();
  double data_y_max = -std::numeric_limits<double>::infinity();
  int data_extents_valid = 0;
};
extern graph_state graph;

// Widens the data extents by (x, y) and sets data_extents_valid.
void graph_widen_extents(double x, double y);

// ---- view boxes and the pixel mapping (kernels take these as context) -----

struct graph_point {
  double x = 0;
  double y = 0;
  bool operator==(const graph_point&) const = default;
};

// A box in data (or axis) units with its centre; x_min..x_max, y_min..y_max.
struct view_box {
  double x_min = 0, x_max = 0, y_min = 0, y_max = 0;
  double x_mid = 0, y_mid = 0;
};

// Data (axis) units to device pixels for one render.
struct pixel_mapping {
  double px_per_unit_x = 1, px_per_unit_y = 1;
  double hoffset = 0, voffset = 0;  // graph_hoffset_calc, graph_voffset_calc
  int plot_left = 0, plot_top = 0, plot_height = 0;
};

// trunc(v) saturated into the range a device coordinate may take (NaN gives 0).
int graph_pixel(double v);
// Device x and y of axis values by the mapping: trunc((x + hoffset) x
// px_per_unit_x + 0.5) + plot_left, and plot_height - 1 - trunc(...) + plot_top.
int map_x(const pixel_mapping& m, double x);
int map_y(const pixel_mapping& m, double y);

// ---- per-render device, plot area and view values --------------------------

enum graph_output_mode : int { output_screen = 1, output_printer = 2, output_metafile = 3, output_jpeg = 4 };

struct graph_render_state {
  int output_mode = output_screen;
  // Device values, set by the caller of a render.
  int device_origin_x_px = 0, device_origin_y_px = 0;
  int device_width_px = 0, device_height_px = 0;
  double px_per_inch_x = 96, px_per_inch_y = 96;
  double screen_px_per_inch_x = 96, screen_px_per_inch_y = 96;
  // Plot area (graph_layout_plot_area).
  int frame_pen_px = 1;
  int frame_left_px = 0, frame_right_px = 0, frame_top_px = 0, frame_bottom_px = 0;
  int plot_left_px = 0, plot_top_px = 0, plot_width_px = 0, plot_height_px = 0;
  double plot_width_in = 0, plot_height_in = 0;
  // Axis-title room (axis_title_metrics): inches and pixels.
  double xaxis_title_margin_in = 0.2, yaxis_title_margin_in = 0.2;
  double xaxis_title_margin_px = 0, yaxis_title_margin_px = 0;
  double xaxis_title_height_px = 0, yaxis_title_height_px = 0;
  // Pixel mapping (graph_draw).
  double px_per_unit_x = 1, px_per_unit_y = 1;
  double hoffset_px = 0, voffset_px = 0;
  // View boxes in data units, and their axis-unit copies (log10 on a log axis).
  view_box zbox, screen_box;
  view_box zbox_axis, screen_box_axis;
  int points_in_log_units = 0;
  // Path state of the device path being recorded.
  int path_active = 0;
  int figure_open = 0;
  double figure_start_x = 0, figure_start_y = 0;
  double path_current_x = 0, path_current_y = 0;
  // Axis numbers.
  double number_font_pt = 14.5;
  int number_font_px = 1;
};
extern graph_render_state render;

// The tick step of one linear axis: digit x 10^exponent; tick k has the value
// digit x k x pow / invpow, exact for every decimal step.
struct linear_step {
  double step = 1;
  int digit = 1;     // 1, 2 or 5
  int exponent = 0;
  double pow = 1;     // 10^exponent when exponent > 0, else 1
  double invpow = 1;  // 10^-exponent when exponent < 0, else 1
};

// One recorded box of a drawn axis number, in pixels.
struct label_box {
  int left = 0, top = 0, right = 0, bottom = 0;
};
constexpr int max_y_number_boxes = 20;

// One tick of a logarithmic axis: value in log10 units, the number it shows
// as mantissa x 10^exponent, flags log_tick_numbered and log_tick_decade.
struct log_tick {
  double value = 0;
  int mantissa = 1;
  int exponent = 0;
  unsigned flags = 0;
};
constexpr unsigned log_tick_numbered = 1;
constexpr unsigned log_tick_decade = 2;  // a decade start: a major grid line
constexpr int max_log_ticks = 99;
struct log_tick_table {
  log_tick ticks[max_log_ticks + 1];
  int count = 0;
};

// Axes, grid and numbers of the render in progress.
struct axis_render_state {
  linear_step step_x, step_y;
  log_tick_table log_ticks_x, log_ticks_y;  // filled for each logarithmic axis
  // Zero axes: distance of the horizontal axis from the bottom plot edge and
  // of the vertical axis from the left edge, in pixels plus one half.
  double xaxis_pos_px = 0, yaxis_pos_px = 0;
  int xaxis_displaced = 0, yaxis_displaced = 0;  // moved to the edge room
  int grid_pen_px = 1, grid_dash_px = 3, grid_gap_px = 2;
  pen_spec grid_pen, grid_major_pen;
  int number_exponent_form = 0;
  label_box y_number_boxes[max_y_number_boxes];
  int y_number_box_count = 0;
  int y_numbers_on_left = 0;
  int x_numbers_below = 0;
};
extern axis_render_state axes;

// The mapping of the render in progress (from render and graph).
pixel_mapping current_mapping();
// A pen of style, width and colour.
pen_spec graph_pen(pen_style style, int width, draw_color color);
// trunc((px_per_inch_x + px_per_inch_y) / 2 x points / 72 + 0.5), at least 1.
int graph_points_to_pixels(double points);

// ---- the element (plot) table -------------------------------------------------

constexpr int graph_element_capacity = 100;
constexpr int plot_points_step = 50;  // a plot's point block grows by this many points

struct plot_point {
  double x = 0, y = 0;
  double log_x = 0, log_y = 0;  // log10 copies, filled while that axis is logarithmic
};

enum plot_sort_mode : int { plot_unsorted = 0, plot_sorted_x = 1, plot_sorted_y = 2 };

struct plot_record {
  double lineweight = 3;  // points, 0..10
  int sort_mode = plot_sorted_x;
  draw_color color = 0;
  double smooth = 0;   // 0..10
  double average = 0;  // 0..10
  std::vector<plot_point> points;  // count = points.size(); capacity grows by 50
};

enum graph_element_kind : int { element_none = 0, element_plot = 1 };
struct graph_element {
  int kind = element_none;
  std::unique_ptr<plot_record> record;
};

struct graph_element_table {
  std::vector<graph_element> entries;  // graph_element_capacity entries while a window is open
  int graph_element_count = 0;
  int current_plot = -1;
};
extern graph_element_table graph_elements;

// ---- reset --------------------------------------------------------------------

// Puts the graph state and the graph tables back to their defaults; returns 0.
// Called at start-up, when the graph window goes away, and at a new run.
int graph_reset();

// The graph's pending event for checkmouseclick: -1 none, -2 a plain click,
// minus a typed character, or a clicked shape's id.
extern double graph_event;
