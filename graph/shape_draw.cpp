// Drawing the shape table and the hit test (see shape_draw.h).
#include "graph/shape_draw.h"

#include <cmath>
#include <new>
#include <vector>

#include "graph/clip.h"
#include "graph/curves.h"
#include "graph/scales.h"
#include "graph/shape_ellipse.h"
#include "graph/shape_hit_probe.h"
#include "interpreter/debugging.h"

int shape_hit_test_pending = 0;
int graph_click_x = 0, graph_click_y = 0;

namespace {

constexpr draw_color hit_white = 0xFFFFFF;

// Starts a path for one figure when none is being recorded; true when this
// call began it.
bool begin_own_path(DrawDevice& dev) {
  if (render.path_active) return false;
  render.figure_open = 0;
  dev.begin_path();
  render.path_active = 1;
  return true;
}

// Ends the figure's own path and outlines or fills it: without fill it is
// always stroked; OUTLINE none takes effect only with a fill; stroke_only for
// arcs.
void finish_own_path(DrawDevice& dev, const shape_record& r, bool stroke_only) {
  render.figure_open = 0;
  dev.end_path();
  render.path_active = 0;
  if (stroke_only || r.filltype == fill_none)
    dev.stroke_path();
  else if (r.outline == 0)
    dev.fill_path();
  else
    dev.stroke_and_fill_path();
}

// Ends the path being recorded (a group's ENDPATH, or a group left open).
void end_group_path(DrawDevice& dev) {
  view_path_close_figure(dev);
  dev.end_path();
  render.path_active = 0;
}

hatch_style hatch_of(int hatch) {
  switch (hatch) {
    case 1: return hatch_style::vertical;
    case 2: return hatch_style::fdiagonal;
    case 3: return hatch_style::bdiagonal;
    case 4: return hatch_style::cross;
    case 5: return hatch_style::diagcross;
    default: return hatch_style::horizontal;
  }
}

// Selects a record's pen and brush (outside a path). white: the hit test's
// white pen and solid white brush.
void select_record_tools(DrawDevice& dev, const shape_record& r, bool white) {
  pen_spec pen;
  pen.style = pen_style::solid;
  pen.width = graph_points_to_pixels(r.lineweight);
  pen.color = white ? hit_white : r.linecolor;
  dev.select_pen(pen);
  if (!white && r.filltype == fill_none) return;  // the device's brush stays; it is never used to fill
  brush_spec brush;
  brush.kind = (!white && r.filltype == fill_hatch) ? brush_kind::hatched : brush_kind::solid;
  brush.color = white ? hit_white : r.fillcolor;
  brush.hatch = hatch_of(r.hatch);
  dev.select_brush(brush);
  if (brush.kind == brush_kind::hatched) dev.set_background_transparent(true);
  dev.set_fill_winding(true);
}

// Draws one record as draw_all_shapes does: tools when no path records; a
// group's closing record met while its path still records ends that path
// first, so the group is outlined and no path is left open.
void draw_record(DrawDevice& dev, shape_record& r, bool white) {
  if ((r.kind == SW_STROKE || r.kind == SW_STROKEFILL) && render.path_active) end_group_path(dev);
  if (!render.path_active) select_record_tools(dev, r, white);
  const int filltype = r.filltype;
  if (white) r.filltype = fill_solid;
  shape_draw(dev, r);
  r.filltype = filltype;
}

// Abandons a path left recording after the last record.
void abandon_open_path(DrawDevice& dev) {
  if (!render.path_active) return;
  dev.end_path();
  render.path_active = 0;
  render.figure_open = 0;
}

}  // namespace

int draw_all_shapes(DrawDevice& dev) {
  view_compute_boxes();
  for (int i = 0; i < shapes.shape_count; ++i) draw_record(dev, shapes.records[static_cast<std::size_t>(i)], false);
  abandon_open_path(dev);
  if (shape_hit_test_pending && render.output_mode == output_screen) {
    ShapeHitProbe probe(dev.font_engine(), dev.width_px(), dev.height_px(), dev.px_per_inch_x(), dev.px_per_inch_y(),
                        graph_click_x, graph_click_y);
    shape_hit_test(probe, graph_click_x, graph_click_y);
    shape_hit_test_pending = 0;
  }
  return 0;
}

void shape_draw(DrawDevice& dev, shape_record& r) {
  switch (r.kind) {
    case SW_ELLIPSE:
    case SW_ARC:
    case SW_CHORD:
    case SW_PIE: shape_draw_ellipse(dev, r); return;
    case SW_POLYGON: shape_draw_polygon(dev, r.points.data(), static_cast<int>(r.points.size()), r); return;
    case SW_LINE: shape_draw_line(dev, r); return;
    case SW_POLYLINE:
      shape_draw_polyline(dev, r, r.points.data(), static_cast<int>(r.points.size()), render.path_active);
      return;
    case SW_BEZIER: shape_draw_bezier(dev, r); return;
    case SW_BEGINPATH:
      render.figure_open = 0;
      dev.begin_path();
      render.path_active = 1;
      return;
    case SW_ENDPATH:
      if (render.path_active) end_group_path(dev);
      return;
    case SW_STROKEFILL:
      if (r.filltype == fill_none)
        dev.stroke_path();
      else
        dev.stroke_and_fill_path();
      return;
    case SW_STROKE: dev.stroke_path(); return;
    case SW_CLOSEFIGURE: view_path_close_figure(dev); return;
    case SW_TEXT: shape_text_outline(dev, r, 0); return;
    case SW_PLOTCHAROUTLINE: shape_draw_plotcharoutline(dev, r, 0); return;
    default: return;
  }
}

int shape_draw_polygon(DrawDevice& dev, const graph_point* p, int n, const shape_record& r) {
  if (n < 1 || !p) return 0;
  const view_box& z = render.zbox;
  if (r.box_x_max < z.x_min || z.x_max < r.box_x_min || r.box_y_max < z.y_min || z.y_max < r.box_y_min) return 0;
  std::vector<graph_point> work;
  try {
    work.reserve(4 * static_cast<std::size_t>(n) + 1);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  work.assign(p, p + n);
  work.push_back(p[0]);
  const bool own = begin_own_path(dev);
  if (r.smooth == 0 && r.average == 0) {
    view_draw_polyline(dev, work.data(), n + 1, 1);
  } else {
    view_path_line_to(dev, p[0].x, p[0].y);
    view_draw_smooth_curve(dev, work.data(), n + 1, r.smooth, r.average, 1, 1);
    render.path_current_x = p[0].x;  // the closed curve ends where it began
    render.path_current_y = p[0].y;
  }
  if (own) finish_own_path(dev, r, false);
  return 0;
}

int shape_draw_bezier(DrawDevice& dev, const shape_record& r) {
  view_path_line_to(dev, r.linestart_x, r.linestart_y);
  const graph_point p[4] = {{r.linestart_x, r.linestart_y}, {r.ctlpt1_x, r.ctlpt1_y}, {r.ctlpt2_x, r.ctlpt2_y},
                            {r.lineend_x, r.lineend_y}};
  graph_point buffer[bezier_buffer_points];
  int count = 0, depth = 0;
  view_draw_bezier(dev, p, &depth, buffer, &count, render.path_active);
  if (count > 0) bezier_flush(dev, buffer, &count, render.path_active);
  if (render.path_active) {
    render.path_current_x = r.lineend_x;
    render.path_current_y = r.lineend_y;
  }
  return 0;
}

void shape_draw_line(DrawDevice& dev, const shape_record& r) {
  const view_box& z = render.zbox;
  if (!render.path_active &&
      (r.box_x_max < z.x_min || z.x_max < r.box_x_min || r.box_y_max < z.y_min || z.y_max < r.box_y_min))
    return;
  view_path_line_to(dev, r.linestart_x, r.linestart_y);
  graph_point q[4];
  view_clip_segment(r.linestart_x, r.linestart_y, r.lineend_x, r.lineend_y, q);
  const int n = view_remove_redundant_points(q, 4);
  view_polyline_to_device(dev, q, n, render.path_active);
  if (render.path_active) {
    render.path_current_x = r.lineend_x;
    render.path_current_y = r.lineend_y;
  }
}

void shape_draw_polyline(DrawDevice& dev, const shape_record& r, const graph_point* p, int n, int cont) {
  if (n < 1 || !p) return;
  if (r.smooth == 0 && r.average == 0) {
    view_draw_polyline(dev, p, n, cont);
    return;
  }
  view_path_line_to(dev, p[0].x, p[0].y);
  view_draw_smooth_curve(dev, p, n, r.smooth, r.average, 0, cont);
  if (render.path_active) {
    render.path_current_x = p[n - 1].x;
    render.path_current_y = p[n - 1].y;
  }
}

namespace {

// The border points collected between Bezier pieces: 4 per event and 8 for
// the closing lines of a chord or pie.
struct pending_points {
  graph_point p[4 * arc_event_capacity + 8 + 1];
  int n = 0;
  void add(const graph_point& q) {
    if (n < static_cast<int>(sizeof p / sizeof p[0])) p[n++] = q;
  }
  void add_clipped(const graph_point& a, const graph_point& b) {
    graph_point q[4];
    view_clip_segment(a.x, a.y, b.x, b.y, q);
    for (const graph_point& x : q) add(x);
  }
  void flush(DrawDevice& dev) {
    if (n > 0) {
      const int kept = view_remove_redundant_points(p, n);
      view_polyline_to_device(dev, p, kept, 1);
    }
    n = 0;
  }
};

bool finite_all(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

int shape_draw_ellipse(DrawDevice& dev, const shape_record& r) {
  shape_rotation.centre_x = r.rotation_centre_x;
  shape_rotation.centre_y = r.rotation_centre_y;
  shape_rotation_set_angle(shape_rotation, r.rotate);
  const double s = shape_rotation.sine, c = shape_rotation.cosine;
  arc_block ab;
  ab.hradius = (r.right - r.left) / 2;
  ab.vradius = (r.top - r.bottom) / 2;
  ab.centre_x = r.centre_x;
  ab.centre_y = r.centre_y;
  ab.start_angle = r.startangle;
  ab.end_angle = r.endangle;
  if (r.kind == SW_ELLIPSE) {
    ab.start_angle = 0;
    ab.end_angle = shape_two_pi;
  }
  const double a = ab.hradius, b = ab.vradius, cx = ab.centre_x, cy = ab.centre_y;
  if (!finite_all({a, b, cx, cy, r.rotate}) || a < 0 || b < 0) return 0;  // nothing sensible to draw
  ab.start_x = cx + a * std::cos(ab.start_angle);
  ab.start_y = cy + b * std::sin(ab.start_angle);
  ab.end_x = cx + a * std::cos(ab.end_angle);
  ab.end_y = cy + b * std::sin(ab.end_angle);
  if (!finite_all({ab.start_x, ab.start_y, ab.end_x, ab.end_y})) return 0;
  const int reverse = r.direction == 1;
  const double sdx = ab.start_x - cx, sdy = ab.start_y - cy;
  const graph_point start{cx + sdx * c - sdy * s, cy + sdx * s + sdy * c};

  ellipse_view view;
  view.zbox = render.zbox;
  view.screen_box = render.screen_box;
  view.sine = s;
  view.cosine = c;
  arc_event events[arc_event_capacity];
  int n = shape_ellipse_clip_events(ab, view, events);
  if (n < 0) return 0;
  n = shape_sort_arc_events(ab, events, n, reverse);

  const view_box& z = render.zbox;
  auto outside = [&](const graph_point& q) { return !(q.x >= z.x_min && q.x <= z.x_max && q.y >= z.y_min && q.y <= z.y_max); };
  graph_point prev = start;
  double prev_angle = ab.start_angle;
  int prev_kind = outside(start) ? arc_sample_out : arc_sample_in;
  const bool own = begin_own_path(dev);
  // Joins the figure already open in a group to the start, or makes the
  // start the figure's start, so that closing the figure returns here.
  view_path_line_to(dev, start.x, start.y);
  pending_points pending;
  bool last_was_curve = true;
  for (int i = 0; i < n; ++i) {
    const arc_event& e = events[i];
    const int k = static_cast<int>(e.kind);
    const graph_point q{e.x, e.y};
    const bool inside = (k == arc_leave || k == arc_sample_in || k == arc_end_in) && prev_kind != arc_leave &&
                        prev_kind != arc_sample_out;
    if (inside) {
      if (!last_was_curve) {
        pending.add(prev);
        pending.flush(dev);
      }
      graph_point piece[4];
      shape_arc_to_bezier(prev_angle, e.angle, a, b, cx, cy, reverse, piece);
      for (graph_point& x : piece) {
        const double dx = x.x - cx, dy = x.y - cy;
        x = {cx + dx * c - dy * s, cy + dx * s + dy * c};
      }
      view_bezier_to_device(dev, piece, 1);
      last_was_curve = true;
    } else {
      pending.add_clipped(prev, q);
      last_was_curve = false;
    }
    prev = q;
    prev_angle = e.angle;
    prev_kind = k;
  }
  if (r.kind == SW_CHORD) {
    pending.add_clipped(prev, start);
  } else if (r.kind == SW_PIE) {
    pending.add_clipped(prev, {cx, cy});
    pending.add_clipped({cx, cy}, start);
  }
  pending.flush(dev);
  if (render.path_active) {
    render.path_current_x = r.kind == SW_CHORD || r.kind == SW_PIE ? start.x : prev.x;
    render.path_current_y = r.kind == SW_CHORD || r.kind == SW_PIE ? start.y : prev.y;
  }
  if (own) finish_own_path(dev, r, r.kind == SW_ARC);
  return 0;
}

int shape_hit_test(DrawDevice& dev, int click_x, int click_y) {
  view_compute_boxes();
  graph_event = -2;
  const int count = shapes.shape_count;
  int candidate = mouse_check_forward ? (count > 0 ? 0 : -1) : shapes.shape_group_head;
  // Each step moves strictly forwards or backwards, so count + 1 steps end it.
  for (int steps = 0; candidate >= 0 && candidate < count && steps <= count; ++steps) {
    shape_record& head = shapes.records[static_cast<std::size_t>(candidate)];
    // An open group (-1) runs to the end of the table.
    int last = head.group_last;
    if (last < candidate || last >= count) last = count - 1;
    if (head.mouseclick) {
      for (int k = candidate; k <= last; ++k) draw_record(dev, shapes.records[static_cast<std::size_t>(k)], true);
      abandon_open_path(dev);
      draw_color pixel = 0;
      if (dev.get_pixel(click_x, click_y, pixel) && pixel != 0) {
        graph_event = head.id;
        shape_hit_test_pending = 0;
        return 0;
      }
      graph_event = -2;
    }
    candidate = mouse_check_forward ? last + 1 : head.previous_top_level;
  }
  return 0;
}
