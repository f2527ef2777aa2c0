// The GRAPH statement and its LISTPARMS listing. Switches take effect as
// they are read; values are collected and applied only after the whole list
// has been read and checked, in a fixed order that differs with and without
// an open window.
#include "graph/graph_statement.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>

#include "graph/graph_params.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "graph/plot.h"
#include "interpreter/errors.h"
#include "interpreter/keywords.h"
#include "interpreter/output.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "ports/graph_host_port.h"

namespace {

// graph_keywords token codes (positions in the table).
enum graph_word : int {
  GW_WIDTH = 0, GW_HEIGHT, GW_PORTRAIT, GW_LANDSCAPE, GW_PRINT, GW_END, GW_HSCALE, GW_VSCALE, GW_HOFFSET,
  GW_VOFFSET, GW_HMARGIN, GW_VMARGIN, GW_AXISWEIGHT, GW_BORDER, GW_NOBORDER, GW_GRID, GW_NOGRID, GW_METAFILE,
  GW_LISTPARMS, GW_INCLUDEXAXIS, GW_INCLUDEYAXIS, GW_HSCALETYPE, GW_VSCALETYPE, GW_AXES, GW_NOAXES,
  GW_EQUALSCALES, GW_BGCOLOR, GW_GRIDCOLOR, GW_CLEARANCE, GW_NUMBERXAXIS, GW_NUMBERYAXIS, GW_MAXIMIZE,
  GW_AXISCOLOR, GW_JPEG, GW_LOCKSCREEN,
};

constexpr double max_graph_inches = 1000;  // keeps every pixel size of a render within an int

// An optional double value of the statement.
struct given {
  bool set = false;
  double value = 0;
  void operator=(double v) {
    set = true;
    value = v;
  }
};

// The values a GRAPH statement collects before applying them.
struct graph_request {
  given width, height, hscale, vscale, hoffset, voffset, hmargin, vmargin, axisweight, clearance;
  int hscaletype = -1, vscaletype = -1;  // scale_linear, scale_log, scale_datetime
  int bgcolor = -1, gridcolor = -1, axiscolor = -1;
  bool listparms = false, end = false, print = false, metafile = false, jpeg = false, maximize = false;
  int action_count = 0;   // end, print, metafile, jpeg
  int other_count = 0;    // every other handled word except maximize
  int action_column = 0;  // column of the last action or maximize word
  bool changed = false;
};

bool only_parsing() { return prescan_mode || no_execute; }

// A switch word: set at once (not while only parsing).
void set_switch(int& target, int value) {
  if (!only_parsing()) target = value;
}

// Reads "=" and a value 0 or 1 for a switch; 0 or a negative code.
int read_zero_one(int& target) {
  if (graph_expect_equals() < 0) return -251;
  int r = graph_read_number(252);
  if (r < 0) return r;
  if (only_parsing()) return 0;
  if (double_accumulator != 0 && double_accumulator != 1) return report_error(252);
  target = static_cast<int>(double_accumulator);
  return 0;
}

// Reads "=" and a number into slot after the check lo..hi (no check when lo > hi).
int read_value(given& slot, double lo, double hi) {
  if (graph_expect_equals() < 0) return -251;
  int r = graph_read_number(252);
  if (r < 0) return r;
  if (only_parsing()) return 0;
  if (lo <= hi && graph_check_param_range(lo, hi) < 0) return -252;
  slot = double_accumulator;
  return 0;
}

// Reads a scale: 0, or 1e-306..1e307.
int read_scale(given& slot) {
  if (graph_expect_equals() < 0) return -251;
  int r = graph_read_number(252);
  if (r < 0) return r;
  if (only_parsing()) return 0;
  if (double_accumulator != 0 && graph_check_param_range(graph_scale_min, graph_scale_max) < 0) return -252;
  slot = double_accumulator;
  return 0;
}

// Reads "=" and linear, log or datetime.
int read_scale_type(int& target, bool& log_chosen) {
  if (graph_expect_equals() < 0) return -251;
  skip_blanks();
  error_column = static_cast<int>(scan_column());
  expr_item item;
  int type = get_item(item, GI_DATA_VALUE | GI_LIST);
  if (type < 0) return -1;
  if (type != ITEM_STRING) return report_error(252);
  std::string_view word(string_accumulator, static_cast<std::size_t>(string_accumulator_length));
  if (names_equal(word, "linear")) target = scale_linear;
  else if (names_equal(word, "log")) target = scale_log;
  else if (names_equal(word, "datetime")) target = scale_datetime;
  else return report_error(252);
  log_chosen = target == scale_log;
  return 0;
}

int read_color(int& target) {
  if (graph_expect_equals() < 0) return -251;
  int color = graph_parse_color();
  if (color < 0) return -1;
  target = color;
  return 0;
}

// Reads one keyword's value or applies its switch.
int handle_word(int word, graph_request& rq) {
  switch (word) {
    case GW_WIDTH: return read_value(rq.width, 0, max_graph_inches);
    case GW_HEIGHT: return read_value(rq.height, 0, max_graph_inches);
    case GW_PORTRAIT:
      rq.width = 7.5;
      rq.height = 10;
      return 0;
    case GW_LANDSCAPE:
      rq.width = 10;
      rq.height = 7.5;
      return 0;
    case GW_HSCALE:
    case GW_VSCALE: {
      given value;
      int r = read_scale(value);
      if (r < 0 || !value.set) return r;
      given& own = word == GW_HSCALE ? rq.hscale : rq.vscale;
      given& own_offset = word == GW_HSCALE ? rq.hoffset : rq.voffset;
      own = value.value;
      if (value.value == 0) own_offset = 0;
      if (graph.graph_equalscales) {
        given& other = word == GW_HSCALE ? rq.vscale : rq.hscale;
        given& other_offset = word == GW_HSCALE ? rq.voffset : rq.hoffset;
        other = value.value;
        if (value.value == 0) other_offset = 0;
      }
      return 0;
    }
    case GW_HOFFSET: return read_value(rq.hoffset, 1, 0);
    case GW_VOFFSET: return read_value(rq.voffset, 1, 0);
    case GW_HMARGIN: return read_value(rq.hmargin, 1, 0);
    case GW_VMARGIN: return read_value(rq.vmargin, 1, 0);
    case GW_AXISWEIGHT: return read_value(rq.axisweight, 0, 10);
    case GW_CLEARANCE: return read_value(rq.clearance, 0, 0.25);
    case GW_BORDER: set_switch(graph.graph_border, 1); return 0;
    case GW_NOBORDER: set_switch(graph.graph_border, 0); return 0;
    case GW_GRID: set_switch(graph.graph_grid, 1); return 0;
    case GW_NOGRID: set_switch(graph.graph_grid, 0); return 0;
    case GW_AXES: set_switch(graph.graph_axes, 1); return 0;
    case GW_NOAXES: set_switch(graph.graph_axes, 0); return 0;
    case GW_INCLUDEXAXIS: return read_zero_one(graph.graph_includexaxis);
    case GW_INCLUDEYAXIS: return read_zero_one(graph.graph_includeyaxis);
    case GW_NUMBERXAXIS: return read_zero_one(graph.graph_numberxaxis);
    case GW_NUMBERYAXIS: return read_zero_one(graph.graph_numberyaxis);
    case GW_LOCKSCREEN: return read_zero_one(graph.graph_lockscreen);
    case GW_HSCALETYPE:
    case GW_VSCALETYPE: {
      bool log_chosen = false;
      int r = read_scale_type(word == GW_HSCALETYPE ? rq.hscaletype : rq.vscaletype, log_chosen);
      if (r == 0 && log_chosen) set_switch(graph.graph_equalscales, 0);
      return r;
    }
    case GW_EQUALSCALES:
      // Ignored on a logarithmic axis: nothing is counted or changed.
      if (graph.graph_hscale_log || graph.graph_vscale_log) return 1;
      set_switch(graph.graph_equalscales, 1);
      if (graph.graph_hscale != 0) rq.vscale = graph.graph_hscale;
      return 0;
    case GW_BGCOLOR: return read_color(rq.bgcolor);
    case GW_GRIDCOLOR: return read_color(rq.gridcolor);
    case GW_AXISCOLOR: return read_color(rq.axiscolor);
    case GW_LISTPARMS: rq.listparms = true; return 0;
    case GW_END: rq.end = true; return 0;
    case GW_PRINT: rq.print = true; return 0;
    case GW_METAFILE: rq.metafile = true; return 0;
    case GW_JPEG: rq.jpeg = true; return 0;
    case GW_MAXIMIZE: rq.maximize = true; return 0;
  }
  return report_error(249);
}

bool is_action(int word) { return word == GW_END || word == GW_PRINT || word == GW_METAFILE || word == GW_JPEG; }

// Sets the scale type of one axis with its limits; a change makes that axis's
// scale and offset automatic.
void apply_scale_type(int horizontal, int type) {
  int& log_flag = horizontal ? graph.graph_hscale_log : graph.graph_vscale_log;
  int& datetime_flag = horizontal ? graph.graph_hscale_datetime : graph.graph_vscale_datetime;
  double& lo = horizontal ? graph.graph_hlimit_min : graph.graph_vlimit_min;
  double& hi = horizontal ? graph.graph_hlimit_max : graph.graph_vlimit_max;
  log_flag = type == scale_log;
  datetime_flag = type == scale_datetime;
  if (type == scale_log) {
    lo = log_limit_min;
    hi = log_limit_max;
  } else if (type == scale_datetime) {
    lo = -datetime_limit;
    hi = datetime_limit;
  } else {
    lo = -DBL_MAX;
    hi = DBL_MAX;
  }
  (horizontal ? graph.graph_hscale : graph.graph_vscale) = 0;
  (horizontal ? graph.graph_hoffset : graph.graph_voffset) = 0;
}

// The offset/scale check; a failing axis gets its remembered requested scale
// and offset back. 0 or the reported -262 / -296.
int check_offset_scale(double saved_hscale, double saved_hoffset, double saved_vscale, double saved_voffset) {
  for (int horizontal = 1; horizontal >= 0; --horizontal) {
    double& scale = horizontal ? graph.graph_hscale : graph.graph_vscale;
    double& offset = horizontal ? graph.graph_hoffset : graph.graph_voffset;
    bool datetime = horizontal ? graph.graph_hscale_datetime : graph.graph_vscale_datetime;
    if (scale == 0 || offset == 0) continue;
    double limit = datetime ? datetime_offset_scale_limit : linear_offset_scale_limit;
    if (std::fabs(offset / scale) > limit) {
      scale = horizontal ? saved_hscale : saved_vscale;
      offset = horizontal ? saved_hoffset : saved_voffset;
      return report_error(datetime ? 296 : 262);
    }
  }
  return 0;
}

void apply_colors(const graph_request& rq) {
  if (rq.bgcolor >= 0) graph.graph_bgcolor = static_cast<draw_color>(rq.bgcolor);
  if (rq.gridcolor >= 0) graph.graph_gridcolor = static_cast<draw_color>(rq.gridcolor);
  if (rq.axiscolor >= 0) graph.graph_axiscolor = static_cast<draw_color>(rq.axiscolor);
}

void apply_page_values(const graph_request& rq) {
  if (rq.hmargin.set) graph.graph_hmargin = rq.hmargin.value;
  if (rq.vmargin.set) graph.graph_vmargin = rq.vmargin.value;
  if (rq.clearance.set) graph.graph_clearance = rq.clearance.value;
  if (rq.axisweight.set) graph.graph_axisweight = rq.axisweight.value;
}

// Without a window: store the settings and open the window.
int apply_without_window(const graph_request& rq, double sh, double oh, double sv, double ov) {
  if (rq.width.set && rq.width.value > 0) graph.graph_width = rq.width.value;
  if (rq.height.set && rq.height.value > 0) graph.graph_height = rq.height.value;
  if (rq.hscaletype >= 0) apply_scale_type(1, rq.hscaletype);
  if (rq.vscaletype >= 0) apply_scale_type(0, rq.vscaletype);
  if (rq.hscale.set) {
    graph.graph_hscale = rq.hscale.value;
    graph.graph_hoffset = 0;
  }
  if (rq.vscale.set) {
    graph.graph_vscale = rq.vscale.value;
    graph.graph_voffset = 0;
  }
  if (rq.hoffset.set) graph.graph_hoffset = rq.hoffset.value;
  if (rq.voffset.set) graph.graph_voffset = rq.voffset.value;
  apply_page_values(rq);
  int r = check_offset_scale(sh, oh, sv, ov);
  if (r < 0) return r;
  apply_colors(rq);
  return graph_window_create();
}

// A scale type change on an open window; "log" fills the plots' log columns
// and falls back to linear when a point cannot be shown.
int change_scale_type(int horizontal, int type) {
  int log_now = horizontal ? graph.graph_hscale_log : graph.graph_vscale_log;
  int datetime_now = horizontal ? graph.graph_hscale_datetime : graph.graph_vscale_datetime;
  int now = log_now ? scale_log : datetime_now ? scale_datetime : scale_linear;
  if (type == now) return 0;
  apply_scale_type(horizontal, type);
  if (type == scale_log) {
    int r = plot_compute_logs();
    if (r < 0) {
      apply_scale_type(horizontal, scale_linear);
      return r;
    }
  }
  return 0;
}

int apply_with_window(const graph_request& rq, double sh, double oh, double sv, double ov) {
  GraphHostPort& host = graph_host_port();
  if (rq.listparms) return graph_list_parms();
  if (rq.end) return graph_window_destroy();
  if (rq.print || rq.metafile || rq.jpeg) {
    int r = rq.print ? graph_print() : rq.metafile ? graph_export_metafile() : graph_export_jpeg();
    return r < 0 ? graph_report_export_failure(r) : 0;  // a cancel is quiet
  }
  bool new_size = false;
  if (rq.width.set && rq.width.value > 0) {
    graph.graph_width = rq.width.value;
    new_size = true;
  }
  if (rq.height.set && rq.height.value > 0) {
    graph.graph_height = rq.height.value;
    new_size = true;
  }
  if (new_size) {
    graph.graph_window_reset_size = 1;
    host.resize(graph_pixel(graph.graph_width * host.screen_px_per_inch_x()) + 1,
                graph_pixel(graph.graph_height * host.screen_px_per_inch_y()) + 1);
  }
  if (rq.hscaletype >= 0) {
    int r = change_scale_type(1, rq.hscaletype);
    if (r < 0) return r;
  }
  if (rq.vscaletype >= 0) {
    int r = change_scale_type(0, rq.vscaletype);
    if (r < 0) return r;
  }
  if (rq.hscale.set) graph.graph_hscale = rq.hscale.value;
  if (rq.vscale.set) graph.graph_vscale = rq.vscale.value;
  if (rq.hoffset.set) graph.graph_hoffset = rq.hoffset.value;
  if (rq.voffset.set) graph.graph_voffset = rq.voffset.value;
  int r = check_offset_scale(sh, oh, sv, ov);
  if (r < 0) return r;
  apply_colors(rq);
  apply_page_values(rq);
  host.check_menu_item(graph_menu_grid, graph.graph_grid == 1);
  host.check_menu_item(graph_menu_border, graph.graph_border == 1);
  host.check_menu_item(graph_menu_axes, graph.graph_axes == 1);
  if (rq.changed) {
    graph_mark_changed();
    host.invalidate();
    if (rq.maximize) host.maximize();
    return 0;
  }
  if (rq.maximize) {
    host.maximize();
    return 0;
  }
  return report_error(250);
}

// print_text of one formatted value.
__attribute__((format(printf, 1, 2))) void print_format(const char* format, ...) {
  char line[160];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  print_text(line);
}

const char* scale_type_name(int log, int datetime) { return log ? "Log\n" : datetime ? "DateTime\n" : "Linear\n"; }

// The calculated companion of an automatic (0) requested value.
void print_calculated(double requested, const char* calculated_line) {
  if (requested == 0) {
    print_text("(automatic)\n");
    print_text(calculated_line);
  } else {
    print_text("\n");
  }
}

std::string calculated(const char* prefix, double value, const char* unit) {
  char text[120];
  std::snprintf(text, sizeof text, "%s%10.6g %s (calculated).\n", prefix, value, unit);
  return text;
}

}  // namespace

int graph_list_parms() {
  print_text("GRAPH parameters currently in effect:\n");
  print_text(graph.graph_grid ? "   GRID\n" : "   NOGRID\n");
  print_text(graph.graph_axes ? "   AXES\n" : "   NOAXES\n");
  print_text(graph.graph_border ? "   BORDER\n" : "   NOBORDER\n");
  if (graph.graph_equalscales) print_text("   EQUALSCALES\n");
  print_format("   IncludeXAxis =   %4d\n", graph.graph_includexaxis);
  print_format("   IncludeYAxis =   %4d\n", graph.graph_includeyaxis);
  print_format("   NumberXAxis =   %4d\n", graph.graph_numberxaxis);
  print_format("   NumberYAxis =   %4d\n", graph.graph_numberyaxis);
  print_format("   Height       = %10.6g in.\n", graph.graph_height);
  print_format("   Width        = %10.6g in.\n", graph.graph_width);
  print_text("   HScaleType   =      ");
  print_text(scale_type_name(graph.graph_hscale_log, graph.graph_hscale_datetime));
  print_format("   HScale       = %10.6g data units/in. ", graph.graph_hscale);
  print_calculated(graph.graph_hscale, calculated("              ", graph.graph_hscale_calc, "data units/in.").c_str());
  print_text("   VScaleType   =      ");
  print_text(scale_type_name(graph.graph_vscale_log, graph.graph_vscale_datetime));
  print_format("   VScale       = %10.6g data units/in. ", graph.graph_vscale);
  print_calculated(graph.graph_vscale, calculated("              ", graph.graph_vscale_calc, "data units/in.").c_str());
  print_format("   HOffset      = %10.6g data units ", graph.graph_hoffset);
  print_calculated(graph.graph_hoffset, calculated("                ", graph.graph_hoffset_calc, "data units").c_str());
  print_format("   VOffset      = %10.6g data units ", graph.graph_voffset);
  print_calculated(graph.graph_voffset, calculated("                ", graph.graph_voffset_calc, "data units").c_str());
  print_format("   HMargin      = %10.6g in. ", graph.graph_hmargin);
  if (graph.graph_hmargin < 0) print_text("(centered)");
  print_text("\n");
  print_format("   VMargin      = %10.6g in. ", graph.graph_vmargin);
  if (graph.graph_vmargin < 0) print_text("(centered)");
  print_text("\n");
  print_format("   AxisWeight   = %9.6g points.\n", graph.graph_axisweight);
  print_format("   Clearance    = %9.6g in.\n", graph.graph_clearance);
  return 0;
}

int stmt_graph() {
  if (console_mode) return report_error(274);
  const double saved_hscale = graph.graph_hscale, saved_hoffset = graph.graph_hoffset;
  const double saved_vscale = graph.graph_vscale, saved_voffset = graph.graph_voffset;
  graph_request rq;
  while (scan_pointer < line_end) {
    int word = graph_next_keyword(graph_keywords, 249);
    if (word < 0) return word;
    if (word == graph_list_end) break;
    int column = error_column;
    int r = handle_word(word, rq);
    if (r < 0) return r;
    if (r == 1) continue;  // ignored word
    if (is_action(word) || word == GW_MAXIMIZE) {
      rq.action_column = column;
      if (is_action(word)) ++rq.action_count;
    } else {
      ++rq.other_count;
      if (word != GW_LISTPARMS) rq.changed = true;
    }
  }
  if (rq.action_count > 0 && (rq.other_count > 0 || rq.action_count > 1)) {
    error_column = rq.action_column;
    return report_error(254);
  }
  if (only_parsing()) return 0;
  if (!graph_window_is_open()) {
    if (rq.action_count > 0) return report_error(253);
    if (rq.listparms) return report_error(263);
    return apply_without_window(rq, saved_hscale, saved_hoffset, saved_vscale, saved_voffset);
  }
  return apply_with_window(rq, saved_hscale, saved_hoffset, saved_vscale, saved_voffset);
}
