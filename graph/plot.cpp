// The PLOT statement and the plot table: creating plots, inserting points in
// sort order, the log10 columns for logarithmic axes, and drawing every plot.
#include "graph/plot.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "graph/clip.h"
#include "graph/curves.h"
#include "graph/graph_params.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "graph/scales.h"
#include "interpreter/errors.h"
#include "interpreter/expression.h"
#include "interpreter/item.h"
#include "interpreter/keywords.h"
#include "interpreter/run_state.h"

namespace {

// plot_keywords token codes (positions in the table).
enum plot_word : int {
  PW_TYPE = 0, PW_LINETYPE, PW_LINEWEIGHT, PW_X, PW_Y, PW_UNSORTED, PW_SORTEDX, PW_SORTEDY, PW_COLOR, PW_AVERAGE,
  PW_SMOOTH,
};

constexpr double plot_infinity = 21474000.0;  // where an infinite coordinate is stored

double finite_coordinate(double v) {
  if (std::isnan(v)) return 0;
  if (v == INFINITY) return plot_infinity;
  if (v == -INFINITY) return -plot_infinity;
  return v;
}

struct plot_request {
  double lineweight = 3;
  int sort_mode = plot_sorted_x;
  int color = 0;
  double average = 0;
  double smooth = 0;
  bool has_x = false, has_y = false;
  double x = 0, y = 0;
  int attributes = 0;
};

// Reads "=" and a number checked into 0..10 (lineweight, average, smooth).
int read_zero_ten(double& target) {
  if (graph_expect_equals() < 0) return -251;
  int r = graph_read_number(259);
  if (r < 0) return r;
  if (!(prescan_mode || no_execute) && graph_check_param_range(0, 10) < 0) return -252;
  target = double_accumulator;
  return 0;
}

int handle_word(int word, plot_request& rq) {
  switch (word) {
    case PW_UNSORTED: rq.sort_mode = plot_unsorted; ++rq.attributes; return 0;
    case PW_SORTEDX: rq.sort_mode = plot_sorted_x; ++rq.attributes; return 0;
    case PW_SORTEDY: rq.sort_mode = plot_sorted_y; ++rq.attributes; return 0;
    case PW_COLOR: {
      if (graph_expect_equals() < 0) return -251;
      int color = graph_parse_color();
      if (color < 0) return -1;
      rq.color = color;
      ++rq.attributes;
      return 0;
    }
    case PW_LINEWEIGHT: ++rq.attributes; return read_zero_ten(rq.lineweight);
    case PW_AVERAGE: ++rq.attributes; return read_zero_ten(rq.average);
    case PW_SMOOTH: ++rq.attributes; return read_zero_ten(rq.smooth);
    case PW_LINETYPE: {
      // Read and not used; does not start a new plot.
      if (graph_expect_equals() < 0) return -251;
      int type = evaluate_expression_release_temps(2);
      if (type < 0) return type;
      if (type != ITEM_DOUBLE && type != ITEM_STRING && type != ITEM_LONG && type != ITEM_NUMERIC_TEXT)
        return report_error(259);
      return 0;
    }
    case PW_TYPE:
    case PW_X:
    case PW_Y: {
      if (graph_expect_equals() < 0) return -251;
      int r = graph_read_number(259);
      if (r < 0) return r;
      if (word == PW_TYPE) {
        ++rq.attributes;  // read and not used, but starts a new plot
      } else if (word == PW_X) {
        rq.has_x = true;
        rq.x = double_accumulator;
      } else {
        rq.has_y = true;
        rq.y = double_accumulator;
      }
      return 0;
    }
  }
  return report_error(258);
}

plot_record* current_record() {
  int i = graph_elements.current_plot;
  if (i < 0 || i >= graph_elements.graph_element_count) return nullptr;
  return graph_elements.entries[static_cast<std::size_t>(i)].record.get();
}

}  // namespace

int plot_create(double lineweight, int sort_mode, draw_color color, double average, double smooth) {
  // The table is checked before anything is allocated.
  if (graph_elements.graph_element_count >= graph_element_capacity ||
      graph_elements.entries.size() < static_cast<std::size_t>(graph_element_capacity)) {
    graph_elements.current_plot = -1;
    return report_error(260);
  }
  std::unique_ptr<plot_record> record(new (std::nothrow) plot_record);
  if (!record) {
    graph_elements.current_plot = -1;
    return report_error(256);
  }
  record->lineweight = lineweight;
  record->sort_mode = sort_mode;
  record->color = color;
  record->average = average;
  record->smooth = smooth;
  graph_element& entry = graph_elements.entries[static_cast<std::size_t>(graph_elements.graph_element_count)];
  entry.kind = element_plot;
  entry.record = std::move(record);
  graph_elements.current_plot = graph_elements.graph_element_count++;
  return 0;
}

int plot_add_point(double x, double y) {
  plot_record* plot = current_record();
  if (!plot) return report_error(257);
  std::vector<plot_point>& points = plot->points;
  if (points.size() >= points.capacity()) {
    // At least 50 more points, and half the capacity again on large plots so
    // that a plot of n points is copied O(log n) times rather than n / 50; an
    // allocation failure is "Plot table is full."
    try {
      points.reserve(points.capacity() + std::max(static_cast<std::size_t>(plot_points_step), points.capacity() / 2));
    } catch (const std::bad_alloc&) {
      return report_error(261);
    } catch (const std::length_error&) {
      return report_error(261);
    }
  }
  x = finite_coordinate(x);
  y = finite_coordinate(y);
  if ((graph.graph_hscale_log && x <= 0) || (graph.graph_vscale_log && y <= 0)) return report_error(265);
  // An unsorted plot appends; a sorted one inserts after the points whose key
  // is not above the new one (its points are kept in that order, so a binary
  // search finds the place).
  auto at = points.end();
  if (plot->sort_mode == plot_sorted_x)
    at = std::upper_bound(points.begin(), points.end(), x, [](double v, const plot_point& q) { return v < q.x; });
  else if (plot->sort_mode == plot_sorted_y)
    at = std::upper_bound(points.begin(), points.end(), y, [](double v, const plot_point& q) { return v < q.y; });
  plot_point p;
  p.x = x;
  p.y = y;
  if (graph.graph_hscale_log) p.log_x = std::log10(x);
  if (graph.graph_vscale_log) p.log_y = std::log10(y);
  points.insert(at, p);  // within capacity: cannot throw
  graph_widen_extents(x, y);
  return 0;
}

int plot_compute_logs() {
  if ((graph.graph_hscale_log && graph.data_x_min <= 0) || (graph.graph_vscale_log && graph.data_y_min <= 0))
    return report_error(265);
  for (int e = 0; e < graph_elements.graph_element_count; ++e) {
    graph_element& entry = graph_elements.entries[static_cast<std::size_t>(e)];
    if (entry.kind != element_plot || !entry.record) continue;
    for (plot_point& p : entry.record->points) {
      if (graph.graph_hscale_log) {
        if (p.x <= 0) return report_error(265);
        p.log_x = std::log10(p.x);
      }
      if (graph.graph_vscale_log) {
        if (p.y <= 0) return report_error(265);
        p.log_y = std::log10(p.y);
      }
    }
  }
  return 0;
}

int stmt_plot() {
  plot_request rq;
  while (scan_pointer < line_end) {
    int word = graph_next_keyword(plot_keywords, 258);
    if (word < 0) return word;
    if (word == graph_list_end) break;
    int r = handle_word(word, rq);
    if (r < 0) return r;
  }
  if (prescan_mode || no_execute) return 0;
  if (!graph_window_is_open()) return report_error(257);
  if (rq.attributes > 0 || (!rq.has_x && !rq.has_y)) graph_elements.current_plot = -1;
  if (graph_elements.current_plot == -1) {
    int r = plot_create(rq.lineweight, rq.sort_mode, static_cast<draw_color>(rq.color), rq.average, rq.smooth);
    if (r < 0) return r;
  }
  if (rq.has_x != rq.has_y) return report_error(264);
  if (rq.has_x) {
    int r = plot_add_point(rq.x, rq.y);
    if (r < 0) return r;
  }
  graph_mark_changed();
  return 0;
}

int plot_draw_all(DrawDevice& dev) {
  const bool any_log = graph.graph_hscale_log || graph.graph_vscale_log;
  for (int e = 0; e < graph_elements.graph_element_count; ++e) {
    graph_element& entry = graph_elements.entries[static_cast<std::size_t>(e)];
    if (entry.kind != element_plot || !entry.record) continue;
    const plot_record& plot = *entry.record;
    dev.select_pen(graph_pen(pen_style::solid, graph_points_to_pixels(plot.lineweight), plot.color));
    std::vector<graph_point> points;
    try {
      points.reserve(plot.points.size());
    } catch (const std::bad_alloc&) {
      continue;
    }
    for (const plot_point& p : plot.points)
      points.push_back({graph.graph_hscale_log ? p.log_x : p.x, graph.graph_vscale_log ? p.log_y : p.y});
    const int saved_hlog = graph.graph_hscale_log, saved_vlog = graph.graph_vscale_log;
    if (any_log) {
      // Points and boxes both in axis units: no log step while drawing.
      graph.graph_hscale_log = graph.graph_vscale_log = 0;
      render.points_in_log_units = 1;
      view_compute_boxes();
    }
    view_draw_smooth_curve(dev, points.data(), static_cast<int>(points.size()), plot.smooth, plot.average, 0, 0);
    if (any_log) {
      render.points_in_log_units = 0;
      graph.graph_hscale_log = saved_hlog;
      graph.graph_vscale_log = saved_vlog;
      view_compute_boxes();
    }
  }
  return 0;
}
