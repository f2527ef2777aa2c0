// The graph window's behaviour without a toolkit (see graph_window_core.h).
// Every size is checked before it is divided or narrowed: the graph's
// inches are positive but may be far apart, and pixel results saturate.
#include "graph/graph_window_core.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "graph/graph_state.h"
#include "graph/graph_statement.h"
#include "graph/graph_window.h"
#include "graph/shape_draw.h"
#include "graph/shapes.h"
#include "interpreter/datetime.h"
#include "interpreter/host_api.h"
#include "interpreter/keywords.h"
#include "interpreter/run_state.h"
#include "ports/font_engine.h"
#include "ports/graph_host_port.h"

graph_window_sizes window_sizes;

namespace {

// ---- sizing ----

// The graph's ratio, width over height; the default page's when the
// settings cannot give one (they are checked positive by GRAPH).
double graph_ratio() {
  const double w = graph.graph_width, h = graph.graph_height;
  if (!(w > 0) || !(h > 0) || !std::isfinite(w / h) || w / h == 0) return 7.5 / 10;
  return w / h;
}

// trunc(v) into 0..graph_window_max_px.
int window_px(double v) {
  if (!(v > 0)) return 0;  // NaN too
  if (v >= graph_window_max_px) return graph_window_max_px;
  return static_cast<int>(v);
}

// The window height whose client keeps the ratio for a window width.
int height_for_width(int width) {
  const int client = width - graph.graph_frame_width;
  return window_px(client / graph_ratio()) + graph.graph_frame_height;
}
int width_for_height(int height) {
  const int client = height - graph.graph_frame_height;
  return window_px(client * graph_ratio()) + graph.graph_frame_width;
}

// Keeps a granted side within min..graph_window_max_px (never negative).
int checked_side(int v, int min) {
  if (v < min) return min;
  return v > graph_window_max_px ? graph_window_max_px : v;
}

// The first size from the work area (creation, and GRAPH width/height).
void size_from_work_area(int& width, int& height) {
  graph_window_sizes& s = window_sizes;
  width = s.work_area_right * 8 / 10;
  height = height_for_width(width);
  if (height > s.work_area_bottom * 8 / 10) height = s.work_area_bottom * 8 / 10;
  width = width_for_height(height);
  width = checked_side(width, s.graph_min_width);
  height = checked_side(height, s.graph_min_height);
}

void accept_size(int width, int height) {
  window_sizes.graph_last_width = window_sizes.graph_accepted_width = width;
  window_sizes.graph_last_height = window_sizes.graph_accepted_height = height;
}

// ---- zoom and move ----

bool offset_scale_too_large(double offset, double scale, int datetime_axis) {
  const double limit = datetime_axis ? datetime_offset_scale_limit : linear_offset_scale_limit;
  const double q = offset / scale;
  return !(std::fabs(q) <= limit);  // NaN counts as too large
}

// The least and greatest offset of an axis that keeps the view inside its
// limits, for scale on a plot side of side_px pixels at ppi.
void offset_range(int side_px, double ppi, double scale, double limit_min, double limit_max, double& lo,
                  double& hi) {
  lo = (side_px / ppi) * scale - limit_max;
  hi = -limit_min;
}

void zoom_refused(const char* why) {
  graph_host_port().message("Graph Zoom", std::string("Unable to perform requested zoom. ") + why);
}

struct drag_state {
  int graph_drag_active = 0;
  int drag_start_x = 0, drag_start_y = 0;
  double drag_saved_hscale = 0, drag_saved_vscale = 0;
  double drag_saved_hscale_calc = 0, drag_saved_vscale_calc = 0;
  double drag_start_hoffset = 0, drag_start_voffset = 0;
  double drag_saved_hoffset = 0, drag_saved_voffset = 0;  // the requested offsets at the press
  double drag_hoffset_min = 0, drag_hoffset_max = 0, drag_voffset_min = 0, drag_voffset_max = 0;
};
drag_state drag;

// One axis of a move: the new requested offset, or false when the move is
// too large. moved tells whether the offset changed.
struct axis_move {
  bool still;  // the mouse is at the press position on this axis, or the screen is locked
  double delta;
  double saved_scale_calc, start_offset, scale_calc, offset_min, offset_max;
  int datetime_axis;
};
bool move_axis(const axis_move& a, double& scale, double& offset) {
  if (a.still) {
    scale = a.saved_scale_calc;
    offset = a.start_offset;
    return true;
  }
  if (offset_scale_too_large(a.start_offset + a.delta, a.scale_calc, a.datetime_axis)) return false;
  offset = a.start_offset + a.delta;
  if (a.delta < 0 && offset < a.offset_min) offset = a.offset_min;
  if (a.delta > 0 && offset > a.offset_max) offset = a.offset_max;
  return true;
}

void set_predefined_number(int index, double value) { predefined_variables[index].value.number = value; }

// ---- characters ----

// The Windows-1252 byte of a code point, or -1 when it has none.
int cp1252_byte(char32_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<int>(ch);
  for (int b = 0x80; b < 0xA0; ++b)
    if (cp1252_to_unicode(static_cast<unsigned char>(b)) == ch) return b;
  return -1;
}

std::int64_t monotonic_us() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
graph_clock_fn graph_clock = monotonic_us;

}  // namespace

// ---- sizing ----------------------------------------------------------------------

void graph_window_initial_size(int frame_width, int frame_height, int work_right, int work_bottom, int& width,
                               int& height) {
  graph.graph_frame_width = frame_width < 0 ? 0 : frame_width;
  graph.graph_frame_height = frame_height < 0 ? 0 : frame_height;
  window_sizes.work_area_right = work_right;
  window_sizes.work_area_bottom = work_bottom;
  size_from_work_area(width, height);
  graph.graph_window_width = width;
  graph.graph_window_height = height;
  accept_size(width, height);
  graph.graph_window_reset_size = 0;
}

void graph_window_size_changing(graph_size_request& r) {
  graph_window_sizes& s = window_sizes;
  if (r.maximize) accept_size(r.width, r.height);
  graph.graph_window_width = r.width;
  graph.graph_window_height = r.height;
  if (graph.graph_window_reset_size) {
    int width = 0, height = 0;
    size_from_work_area(width, height);
    accept_size(width, height);
    graph.graph_window_reset_size = 0;
    r.x = 5;
    r.y = 5;
    r.width = width;
    r.height = height;
    return;
  }
  int width = r.width, height = r.height;
  if (r.width != s.graph_last_width || r.maximize) {
    height = height_for_width(width);
    if (height > s.work_area_bottom) {
      if (r.x < 0) r.x = 0;
      if (r.y < 0) r.y = 0;
      height = s.work_area_bottom;
      width = width_for_height(height);
    }
    if (height < s.graph_min_height) {
      height = s.graph_min_height;
      width = width_for_height(height);
    }
    s.graph_last_width = width;
  } else if (r.height != s.graph_last_height) {
    width = width_for_height(height);
    if (width > s.work_area_right) {
      if (r.x < 0) r.x = 0;
      if (r.y < 0) r.y = 0;
      width = s.work_area_right;
      height = height_for_width(width);
    }
    if (width < s.graph_min_width) {
      width = s.graph_min_width;
      height = height_for_width(width);
    }
    s.graph_last_height = height;
  } else {
    width = s.graph_accepted_width;
    height = s.graph_accepted_height;
  }
  // An extreme ratio can push the following side out of every sane range.
  r.width = checked_side(width, 1);
  r.height = checked_side(height, 1);
  s.graph_accepted_width = r.width;
  s.graph_accepted_height = r.height;
}

void graph_window_setup_menu() {
  GraphHostPort& host = graph_host_port();
  host.check_menu_item(graph_menu_grid, graph.graph_grid == 1);
  host.check_menu_item(graph_menu_axes, graph.graph_axes == 1);
  host.check_menu_item(graph_menu_border, graph.graph_border == 1);
  host.check_menu_item(graph_menu_crosshairs, graph.graph_crosshairs == 1);
  host.check_menu_item(graph_menu_show_coordinates, graph.show_coordinates == 1);
  host.enable_menu_item(graph_menu_more_grid, true);
  host.enable_menu_item(graph_menu_fewer_grid, true);
  drag.graph_drag_active = 0;
  graph.grid_density = 1.0;
}

// ---- zoom --------------------------------------------------------------------------

int graph_zoom(int zoom_in, double factor, int horizontal_only) {
  const double hs = graph.graph_hscale_calc, vs = graph.graph_vscale_calc;
  double new_h, new_v;
  if (zoom_in == 1) {
    new_h = hs / factor;
    new_v = horizontal_only ? vs : vs / factor;
    if (!(new_h >= graph_scale_min) || !(new_v >= graph_scale_min)) {
      zoom_refused("Scale factor would be too small.");
      return -1;
    }
  } else {
    new_h = hs * factor;
    new_v = horizontal_only ? vs : vs * factor;
    if (!(new_h <= graph_scale_max) || !(new_v <= graph_scale_max)) {
      zoom_refused("Scale factor would be too large.");
      return -1;
    }
  }
  double hoff = (new_h - hs) * (graph.graph_width / 2) + graph.graph_hoffset_calc;
  double voff = (new_v - vs) * (graph.graph_height / 2) + graph.graph_voffset_calc;
  if (zoom_in == 1) {
    if (offset_scale_too_large(hoff, new_h, graph.graph_hscale_datetime) ||
        offset_scale_too_large(voff, new_v, graph.graph_vscale_datetime)) {
      zoom_refused("|Offset / scale| would be too large.");
      return -1;
    }
  } else {
    double vmin, vmax, hmin, hmax;
    offset_range(render.plot_height_px, render.screen_px_per_inch_y, new_v, graph.graph_vlimit_min,
                 graph.graph_vlimit_max, vmin, vmax);
    offset_range(render.plot_width_px, render.screen_px_per_inch_x, new_h, graph.graph_hlimit_min,
                 graph.graph_hlimit_max, hmin, hmax);
    bool refused = false;
    if (voff < vmin) {
      voff = vmin;
      refused = refused || vmin > vmax;
    }
    if (voff > vmax) {
      voff = vmax;
      refused = refused || vmax < vmin;
    }
    if (hoff < hmin) {
      hoff = hmin;
      refused = refused || hmin > hmax;
    }
    if (hoff > hmax) {
      hoff = hmax;
      refused = refused || hmax < hmin;
    }
    if (refused) {
      zoom_refused("Scale factor would be too large.");
      return -1;
    }
  }
  graph.graph_hscale = new_h;
  graph.graph_vscale = new_v;
  graph.graph_hoffset = hoff;
  graph.graph_voffset = voff;
  graph_host_port().invalidate();
  return 0;
}

int graph_key_pressed(int key) {
  if (graph.graph_lockscreen) return 0;
  switch (key) {
    case graph_key_up: graph_zoom(1, 1.5, 0); break;
    case graph_key_down: graph_zoom(0, 1.5, 0); break;
    case graph_key_right:
      graph.graph_equalscales = 0;
      graph_zoom(1, 1.5, 1);
      break;
    case graph_key_left:
      graph.graph_equalscales = 0;
      graph_zoom(0, 1.5, 1);
      break;
    default: break;
  }
  return 0;
}

int graph_wheel(int delta) {
  if (graph.graph_lockscreen) return 0;
  graph_zoom(delta < 0 ? 0 : 1, 1.1, 0);
  return 0;
}

// ---- move and click --------------------------------------------------------------

void graph_left_press(int x, int y, int modifiers) {
  if (modifiers & (graph_shift | graph_ctrl)) return;
  drag.drag_start_x = x;
  drag.drag_start_y = y;
  drag.graph_drag_active = 1;
  drag.drag_saved_hscale = graph.graph_hscale;
  drag.drag_saved_vscale = graph.graph_vscale;
  drag.drag_saved_hscale_calc = graph.graph_hscale_calc;
  drag.drag_saved_vscale_calc = graph.graph_vscale_calc;
  drag.drag_saved_hoffset = graph.graph_hoffset;
  drag.drag_saved_voffset = graph.graph_voffset;
  graph.graph_hscale = graph.graph_hscale_calc;
  graph.graph_vscale = graph.graph_vscale_calc;
  drag.drag_start_hoffset = graph.graph_hoffset = graph.graph_hoffset_calc;
  drag.drag_start_voffset = graph.graph_voffset = graph.graph_voffset_calc;
  offset_range(render.plot_height_px, render.screen_px_per_inch_y, graph.graph_vscale_calc, graph.graph_vlimit_min,
               graph.graph_vlimit_max, drag.drag_voffset_min, drag.drag_voffset_max);
  offset_range(render.plot_width_px, render.screen_px_per_inch_x, graph.graph_hscale_calc, graph.graph_hlimit_min,
               graph.graph_hlimit_max, drag.drag_hoffset_min, drag.drag_hoffset_max);
}

void graph_mouse_move(int x, int y, bool left_down) {
  if (!left_down || !drag.graph_drag_active) return;
  if (!(render.px_per_unit_x != 0) || !(render.px_per_unit_y != 0)) return;  // nothing painted yet
  const double before_h = graph.graph_hoffset, before_v = graph.graph_voffset;
  const double dx = (x - drag.drag_start_x) / render.px_per_unit_x;
  const double dy = -(y - drag.drag_start_y) / render.px_per_unit_y;
  const bool locked = graph.graph_lockscreen != 0;
  axis_move h{x == drag.drag_start_x || locked, dx, drag.drag_saved_hscale_calc, drag.drag_start_hoffset,
              graph.graph_hscale_calc, drag.drag_hoffset_min, drag.drag_hoffset_max, graph.graph_hscale_datetime};
  axis_move v{y == drag.drag_start_y || locked, dy, drag.drag_saved_vscale_calc, drag.drag_start_voffset,
              graph.graph_vscale_calc, drag.drag_voffset_min, drag.drag_voffset_max, graph.graph_vscale_datetime};
  const bool ok = move_axis(h, graph.graph_hscale, graph.graph_hoffset) &&
                  move_axis(v, graph.graph_vscale, graph.graph_voffset);
  if (!ok) {
    drag.graph_drag_active = 0;
    graph.graph_hscale = drag.drag_saved_hscale;
    graph.graph_vscale = drag.drag_saved_vscale;
    graph.graph_hoffset = drag.drag_saved_hoffset;
    graph.graph_voffset = drag.drag_saved_voffset;
    graph_host_port().message("Graph Move",
                              "Unable to perform requested move. |Offset / scale| would be too large.");
    graph_host_port().invalidate();
    return;
  }
  if (graph.graph_hoffset != before_h || graph.graph_voffset != before_v) graph_host_port().invalidate();
}

void graph_left_release(int x, int y, int modifiers) {
  if (drag.graph_drag_active) {
    drag.graph_drag_active = 0;
    const bool locked = graph.graph_lockscreen != 0;
    // An axis the mouse did not move goes back to what was requested
    // before the press (an automatic view stays automatic).
    if (x == drag.drag_start_x || locked) {
      graph.graph_hscale = drag.drag_saved_hscale;
      graph.graph_hoffset = drag.drag_saved_hoffset;
    } else {
      graph.graph_hscale = graph.graph_hscale_calc;
    }
    if (y == drag.drag_start_y || locked) {
      graph.graph_vscale = drag.drag_saved_vscale;
      graph.graph_voffset = drag.drag_saved_voffset;
    } else {
      graph.graph_vscale = graph.graph_vscale_calc;
    }
  }
  graph_click_x = x;
  graph_click_y = y;
  if (shapes.clickable_shapes_exist == 0) graph_event = -2;
  else shape_hit_test_pending = 1;
  double data_x = 0, data_y = 0;
  graph_data_coordinates(x, y, data_x, data_y);
  set_predefined_number(PREDEF_MOUSEXCOORD, data_x);
  set_predefined_number(PREDEF_MOUSEYCOORD, data_y);
  set_predefined_number(PREDEF_KEYSTATE, ((modifiers & graph_shift) ? 1 : 0) + ((modifiers & graph_ctrl) ? 2 : 0));
  graph_host_port().invalidate();
}

int graph_drag_in_progress() { return drag.graph_drag_active; }

// ---- menu ----------------------------------------------------------------------------

int graph_menu_command(int item) {
  GraphHostPort& host = graph_host_port();
  auto toggle = [&host](int& setting, int menu_item) {
    setting = setting == 1 ? 0 : 1;
    host.check_menu_item(menu_item, setting == 1);
    host.invalidate();
    return 0;
  };
  switch (item) {
    case graph_menu_print: return graph_print() < 0 ? -1 : 0;
    case graph_menu_metafile: return graph_export_metafile() < 0 ? -1 : 0;
    case graph_menu_jpeg: return graph_export_jpeg() < 0 ? -1 : 0;
    case graph_menu_close: return graph_window_destroy();
    case graph_menu_grid: return toggle(graph.graph_grid, graph_menu_grid);
    case graph_menu_border: return toggle(graph.graph_border, graph_menu_border);
    case graph_menu_axes: return toggle(graph.graph_axes, graph_menu_axes);
    case graph_menu_crosshairs: return toggle(graph.graph_crosshairs, graph_menu_crosshairs);
    case graph_menu_more_grid:
      if (graph.grid_density >= 0.5) {
        graph.grid_density /= 2;
        host.enable_menu_item(graph_menu_fewer_grid, true);
      }
      host.enable_menu_item(graph_menu_more_grid, graph.grid_density > 0.25);
      host.invalidate();
      return 0;
    case graph_menu_fewer_grid:
      if (graph.grid_density <= 2) {
        graph.grid_density *= 2;
        host.enable_menu_item(graph_menu_more_grid, true);
      }
      host.enable_menu_item(graph_menu_fewer_grid, graph.grid_density < 4);
      host.invalidate();
      return 0;
    case graph_menu_zoom_in_50: return graph_zoom(1, 1.5, 0);
    case graph_menu_zoom_in_10: return graph_zoom(1, 1.1, 0);
    case graph_menu_zoom_in_3: return graph_zoom(1, 1.03, 0);
    case graph_menu_zoom_out_3: return graph_zoom(0, 1.03, 0);
    case graph_menu_zoom_out_10: return graph_zoom(0, 1.1, 0);
    case graph_menu_zoom_out_50: return graph_zoom(0, 1.5, 0);
    case graph_menu_auto_scale:
      graph.graph_hscale = graph.graph_vscale = 0;
      graph.graph_hscale_calc = graph.graph_vscale_calc = 0;
      graph.graph_hoffset_calc = graph.graph_voffset_calc = 0;
      graph.graph_hoffset = graph.graph_voffset = 0;
      host.invalidate();
      return 0;
    default: return 1;
  }
}

// ---- events for the program --------------------------------------------------------

double graph_character_event(char32_t ch) {
  const int byte = cp1252_byte(ch);
  if (byte < 0) return -(65536.0 + static_cast<double>(ch));
  if (byte <= 2) return -(256.0 + byte);
  return -static_cast<double>(byte);
}

void graph_character_typed(char32_t ch) {
  if (ch == U'\t') return;
  if (host_key_waiting()) {
    const int byte = cp1252_byte(ch);
    host_give_key(static_cast<unsigned char>(byte < 0 ? '?' : byte));
    return;
  }
  if (graph_event == -1) graph_event = graph_character_event(ch);
}

bool graph_data_coordinates(int x, int y, double& data_x, double& data_y) {
  data_x = data_y = 0;
  const double ux = render.px_per_unit_x, uy = render.px_per_unit_y;
  if (!(ux != 0) || !(uy != 0) || !std::isfinite(ux) || !std::isfinite(uy)) return false;
  data_x = ((x - render.plot_left_px) - 0.5) / ux - graph.graph_hoffset_calc;
  data_y = ((render.plot_height_px - 1 + render.plot_top_px - y) - 0.5) / uy - graph.graph_voffset_calc;
  if (graph.graph_hscale_log) data_x = std::pow(10.0, data_x);
  if (graph.graph_vscale_log) data_y = std::pow(10.0, data_y);
  return true;
}

void graph_coordinates_text(int x, int y, std::string& x_text, std::string& y_text) {
  x_text.clear();
  y_text.clear();
  double v[2] = {0, 0};
  graph_data_coordinates(x, y, v[0], v[1]);
  const int datetime_axis[2] = {graph.graph_hscale_datetime, graph.graph_vscale_datetime};
  std::string* out[2] = {&x_text, &y_text};
  for (int i = 0; i < 2; ++i) {
    datetime_fields fields{};
    // Checked first: the default text reports an error for a value out of
    // range. The accumulator may hold a computation's string (the display
    // runs from the event pump): it is put back afterwards.
    if (datetime_axis[i] && datetime_expand_local(fields, v[i]) == 0) {
      const std::string saved(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
      const std::int32_t saved_length = string_accumulator_length;
      if (datetime_format_default(v[i]) >= 0)
        *out[i] = std::string(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
      std::memcpy(string_accumulator, saved.data(), saved.size());
      string_accumulator[saved.size()] = '\0';
      string_accumulator_length = saved_length;
      if (!out[i]->empty()) continue;
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%23.18g", v[i]);
    *out[i] = buffer;
  }
}

// ---- clock ------------------------------------------------------------------------------

void set_graph_clock(graph_clock_fn clock) { graph_clock = clock != nullptr ? clock : monotonic_us; }
std::int64_t graph_clock_us() { return graph_clock(); }
