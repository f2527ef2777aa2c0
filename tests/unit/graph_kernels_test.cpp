// The graph's kernels on their own: scales and view boxes, segment clipping,
// redundant points, Bezier clipping, smoothing, tick steps and axis numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graph/axes.h"
#include "graph/clip.h"
#include "graph/curves.h"
#include "graph/graph_state.h"
#include "graph/log_ticks.h"
#include "graph/scales.h"
#include "tests/support/recording_device.h"

namespace {

// A fresh graph state with a render at 96 pixels per inch on the default
// 7.5 x 10 inch graph, laid out and scaled.
void default_render() {
  graph_reset();
  render.device_width_px = 721;
  render.device_height_px = 961;
  render.px_per_inch_x = render.px_per_inch_y = 96;
  graph_layout_plot_area();
  RecordingDevice dev;
  axis_title_metrics(dev);
}

int compute_scales() {
  RecordingDevice dev;
  return graph_compute_scales(dev);
}

// Position of v in inches from the left (bottom) plot edge.
double inches_x(double v) { return (v + graph.graph_hoffset_calc) / graph.graph_hscale_calc; }
double inches_y(double v) { return (v + graph.graph_voffset_calc) / graph.graph_vscale_calc; }

TEST(GraphScales, EmptyRangesWidenSoundly) {
  struct range_case {
    double lo, size_in, requested, hi;
  };
  const range_case cases[] = {
      {3, 7, 0, 7},     // 3 .. 3 + 3 + 1
      {-2, 7, 0, 1},    // below -1 the range still grows upwards
      {-0.5, 7, 0, 1},  // -0.5 + 0.5 + 1
      {5, 7, 2, 19},    // a requested scale spans the axis
  };
  for (const range_case& c : cases) {
    double lo = c.lo, hi = c.lo;
    axis_widen_empty_range(lo, hi, c.size_in, c.requested);
    EXPECT_EQ(lo, c.lo);
    EXPECT_EQ(hi, c.hi) << c.lo;
    EXPECT_GT(hi, lo);
  }
}

TEST(GraphScales, NoDataRunsFromZeroToFiveBesideTheNumbers) {
  default_render();
  EXPECT_EQ(render.frame_pen_px, 2);
  EXPECT_EQ(render.plot_width_px, 717);
  EXPECT_DOUBLE_EQ(render.plot_width_in, 716 / 96.0);
  ASSERT_EQ(compute_scales(), 0);
  // 0 stands at the title room (0.2 in, more than the clearance); 5 one
  // clearance from the far edge.
  EXPECT_NEAR(inches_x(0), 0.2, 1e-12);
  EXPECT_NEAR(inches_x(5), render.plot_width_in - 0.1, 1e-12);
  EXPECT_NEAR(inches_y(0), 0.2, 1e-12);
  EXPECT_NEAR(inches_y(5), render.plot_height_in - 0.1, 1e-12);
}

TEST(GraphScales, IncludeSwitchesDecideTheRangeOfOnePoint) {
  default_render();
  graph_widen_extents(3, 3);
  ASSERT_EQ(compute_scales(), 0);
  EXPECT_NEAR(inches_x(0), 0.2, 1e-12);
  EXPECT_NEAR(inches_x(3), render.plot_width_in - 0.1, 1e-12);
  graph.graph_includexaxis = graph.graph_includeyaxis = 0;
  ASSERT_EQ(compute_scales(), 0);
  EXPECT_NEAR(inches_x(3), 0.1, 1e-12);  // 3 .. 7
  EXPECT_NEAR(inches_x(7), render.plot_width_in - 0.1, 1e-12);
}

TEST(GraphScales, EqualScalesTakeTheLarger) {
  graph_reset();
  render.device_width_px = 481;  // 5 x 10 inches, no border
  render.device_height_px = 961;
  render.px_per_inch_x = render.px_per_inch_y = 96;
  graph.graph_border = 0;
  graph.graph_width = 5;
  graph_layout_plot_area();
  RecordingDevice dev;
  axis_title_metrics(dev);
  graph.graph_equalscales = 1;
  graph_widen_extents(0, 0);
  graph_widen_extents(10, 10);
  ASSERT_EQ(compute_scales(), 0);
  EXPECT_EQ(graph.graph_hscale_calc, graph.graph_vscale_calc);
  EXPECT_NEAR(graph.graph_hscale_calc, 10 / (5 - 0.3), 1e-12);  // about 2 units per inch
  EXPECT_GT(inches_y(20), 9.4);  // the vertical axis shows about 0 .. 20
}

TEST(GraphScales, LogAxisWithZeroDataFails) {
  default_render();
  graph.graph_hscale_log = 1;
  graph_widen_extents(0, 1);
  EXPECT_EQ(compute_scales(), -265);
}

TEST(GraphScales, OffsetScaleCheckRetriesWithTheAxesIncluded) {
  default_render();
  graph.graph_includexaxis = graph.graph_includeyaxis = 0;
  graph.graph_hscale = 1;
  graph.graph_hoffset = 5e8;  // |offset / scale| above the limit
  ASSERT_EQ(compute_scales(), -262);
  EXPECT_EQ(graph.graph_includexaxis, 1);
  EXPECT_EQ(graph.graph_includeyaxis, 1);
}

TEST(GraphScales, LimitsClampTheViewAndTheLargestScale) {
  // A log axis cannot be moved beyond 10^308.25...: the offset is pulled in.
  double scale = 1, offset = -400;
  EXPECT_EQ(axis_clamp_to_limits(scale, offset, 7, log_limit_min, log_limit_max), 0);
  EXPECT_DOUBLE_EQ(offset, 7 - log_limit_max);
  // A scale that shows more than the whole range becomes the largest that fits.
  scale = 1000, offset = 0;
  EXPECT_EQ(axis_clamp_to_limits(scale, offset, 7, log_limit_min, log_limit_max), 1);
  EXPECT_DOUBLE_EQ(scale, (log_limit_max - log_limit_min) / 7);
  EXPECT_DOUBLE_EQ(offset, -log_limit_min);
  // Linear limits never move anything.
  scale = 1e300, offset = -1e300;
  EXPECT_EQ(axis_clamp_to_limits(scale, offset, 7, -DBL_MAX, DBL_MAX), 0);
  EXPECT_EQ(offset, -1e300);
}

TEST(GraphScales, ViewBoxesAndTheirRatios) {
  graph_reset();
  graph.graph_hscale_calc = 1, graph.graph_vscale_calc = 2;
  graph.graph_hoffset_calc = 1, graph.graph_voffset_calc = 0;
  struct ratio_case {
    double zratio, sratio, zwidth, swidth;
  };
  const ratio_case cases[] = {{0, 0, 15, 7.5}, {4, 0, 15, 7.5}, {3, 0, 22.5, 7.5}, {0, 2.5, 15, 7.5},
                              {0, 0.25, 15, 7.5}, {0.75, 0.5, 5.625, 3.75}};
  for (const ratio_case& c : cases) {
    graph.zbox_ratio = c.zratio;
    graph.screen_box_ratio = c.sratio;
    view_compute_boxes();
    EXPECT_DOUBLE_EQ(render.zbox.x_max - render.zbox.x_min, c.zwidth) << c.zratio << " " << c.sratio;
    EXPECT_DOUBLE_EQ(render.screen_box.x_max - render.screen_box.x_min, c.swidth) << c.zratio << " " << c.sratio;
    EXPECT_DOUBLE_EQ(render.zbox.x_mid, 2.75);  // centred on the view -1 .. 6.5
  }
  EXPECT_DOUBLE_EQ(render.zbox.y_min, 0.25 * 20 / 2);  // ratio 0.75 of the view 0 .. 20
  // On a log axis the data box is 10 to the power of the axis box.
  graph.zbox_ratio = graph.screen_box_ratio = 0;
  graph.graph_hscale_log = 1;
  view_compute_boxes();
  EXPECT_DOUBLE_EQ(render.zbox_axis.x_min, -4.75);
  EXPECT_DOUBLE_EQ(render.zbox.x_min, std::pow(10.0, -4.75));
  view_enter_log_units();
  EXPECT_DOUBLE_EQ(render.zbox.x_min, -4.75);
  view_leave_log_units();
  EXPECT_DOUBLE_EQ(render.zbox.x_min, std::pow(10.0, -4.75));
}

TEST(GraphScales, PixelMappingSaturates) {
  pixel_mapping m;
  m.px_per_unit_x = m.px_per_unit_y = 10;
  m.hoffset = 1;
  m.plot_left = 5;
  m.plot_top = 3;
  m.plot_height = 100;
  EXPECT_EQ(map_x(m, 1), 25);   // trunc(20.5) + 5
  EXPECT_EQ(map_y(m, 0), 102);  // 99 - trunc(0.5) + 3
  EXPECT_EQ(map_x(m, -1.06), 5);  // trunc(-0.1) is 0
  EXPECT_EQ(map_x(m, 1e300), 1000000005);
  EXPECT_EQ(map_x(m, -INFINITY), -999999995);
  EXPECT_EQ(map_x(m, NAN), 5);
}

// ---- clipping ----

view_box test_box() {
  view_box b;
  b.x_min = -10, b.x_max = 10, b.y_min = -10, b.y_max = 10;
  return b;
}

TEST(GraphClip, SegmentTable) {
  struct clip_case {
    double x1, y1, x2, y2;
    int result;
    graph_point q[4];
  };
  const clip_case cases[] = {
      {1, 1, 2, 2, 2, {{1, 1}, {1, 1}, {2, 2}, {2, 2}}},
      {-10, 10, 10, -10, 2, {{-10, 10}, {-10, 10}, {10, -10}, {10, -10}}},  // edges count as inside
      {-50, 0, -40, 5, 0, {{-10, 10}, {-10, 10}, {-10, 10}, {-10, 10}}},   // far left
      {3, -20, 3, 5, 1, {{10, -10}, {3, -10}, {3, 5}, {3, 5}}},            // enters at its own x
      {-20, 0, 20, 0, 1, {{-10, 10}, {-10, 0}, {10, 0}, {10, 10}}},        // horizontal, crossing
      {-20, -20, 20, 20, 1, {{-10, -10}, {-10, -10}, {10, 10}, {10, 10}}},  // through two corners
      {0, 0, 30, 15, 1, {{0, 0}, {0, 0}, {10, 5}, {10, 10}}},              // leaves through the right edge
      {5, -20, 20, 5, 0, {{10, -10}, {10, -10}, {10, -10}, {10, 10}}},      // passes beside a corner
      {NAN, 0, 1, 1, 0, {{-10, -10}, {-10, -10}, {-10, -10}, {-10, -10}}},
  };
  for (const clip_case& c : cases) {
    graph_point q[4];
    EXPECT_EQ(clip_segment(test_box(), c.x1, c.y1, c.x2, c.y2, q), c.result) << c.x1 << "," << c.y1;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(q[i].x, c.q[i].x) << c.x1 << "," << c.y1 << " q" << i;
      EXPECT_EQ(q[i].y, c.q[i].y) << c.x1 << "," << c.y1 << " q" << i;
    }
  }
}

TEST(GraphClip, RedundantPointsTable) {
  struct redundant_case {
    std::vector<graph_point> in, out;
  };
  const redundant_case cases[] = {
      {{{0, 0}, {0, 0}, {1, 0}, {2, 0}, {2, 1}}, {{0, 0}, {2, 0}, {2, 1}}},
      {{{5, 5}, {5, 5}}, {{5, 5}, {5, 5}}},                 // a segment keeps two points
      {{{5, 5}, {5, 5}, {5, 5}}, {{5, 5}, {5, 5}}},
      {{{0, 0}, {2, 0}, {1, 0}}, {{0, 0}, {2, 0}, {1, 0}}}, // a turning point stays
      {{{0, 0}, {0, 3}, {0, 1}, {0, 2}}, {{0, 0}, {0, 3}, {0, 1}, {0, 2}}},
      {{{0, 0}, {0, 1}, {0, 2}, {3, 2}}, {{0, 0}, {0, 2}, {3, 2}}},
      {{{1, 1}}, {{1, 1}}},
  };
  for (const redundant_case& c : cases) {
    std::vector<graph_point> p = c.in;
    int n = view_remove_redundant_points(p.data(), static_cast<int>(p.size()));
    p.resize(static_cast<std::size_t>(n));
    EXPECT_EQ(p, c.out) << c.in.size();
  }
}

// A render state whose mapping is one pixel per unit around the origin and
// whose z box is -100..100 (screen box -50..50).
void unit_render() {
  graph_reset();
  graph.graph_hscale_calc = graph.graph_vscale_calc = 1;
  graph.graph_hoffset_calc = graph.graph_voffset_calc = 0;
  render.px_per_unit_x = render.px_per_unit_y = 1;
  render.plot_height_px = 1;  // device y = -trunc(y + 0.5)
  render.zbox = {-100, 100, -100, 100, 0, 0};
  render.screen_box = {-50, 50, -50, 50, 0, 0};
}

TEST(GraphClip, PathFiguresMoveOnceAndClose) {
  unit_render();
  RecordingDevice dev;
  render.path_active = 1;
  const graph_point square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  view_draw_polyline(dev, square, 4, 1);
  view_path_close_figure(dev);
  EXPECT_EQ(dev.calls, (std::vector<std::string>{"move_to 0 0", "polyline_to 10,0 10,-10 0,-10",
                                                 "polyline_to 0,0", "close_figure"}));
  EXPECT_EQ(render.figure_open, 0);
}

TEST(GraphClip, PolylineOutsideTheViewDrawsOnlyAlongTheZBox) {
  unit_render();
  RecordingDevice dev;
  const graph_point far[] = {{-500, 0}, {-400, 30}, {-300, 0}};
  view_draw_polyline(dev, far, 3, 0);
  ASSERT_EQ(dev.calls.size(), 1u);
  EXPECT_EQ(dev.calls[0], "polyline -99,-100 -99,-100");  // the corner (-100, 100)
}

// ---- Bezier and smooth curves ----

TEST(GraphCurves, BezierInsideIsOnePolyBezier) {
  unit_render();
  RecordingDevice dev;
  const graph_point p[4] = {{0, 0}, {10, 20}, {20, 20}, {30, 0}};
  graph_point buffer[bezier_buffer_points];
  int count = 0, depth = 0;
  view_draw_bezier(dev, p, &depth, buffer, &count, 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(dev.calls, (std::vector<std::string>{"poly_bezier 0,0 10,-20 20,-20 30,0"}));
}

TEST(GraphCurves, BezierFarOutsideAddsOnlyItsChord) {
  unit_render();
  RecordingDevice dev;
  const graph_point p[4] = {{500, 500}, {600, 700}, {700, 700}, {800, 500}};
  graph_point buffer[bezier_buffer_points];
  int count = 0, depth = 0;
  view_draw_bezier(dev, p, &depth, buffer, &count, 0);
  EXPECT_TRUE(dev.calls.empty());
  ASSERT_EQ(count, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(buffer[i], (graph_point{100, 100}));
}

TEST(GraphCurves, BezierCrossingTheZBoxJoinsWithoutGaps) {
  unit_render();
  RecordingDevice dev;
  const graph_point p[4] = {{0, 0}, {100, 150}, {200, 150}, {300, 0}};
  graph_point buffer[bezier_buffer_points];
  int count = 0, depth = 0;
  view_draw_bezier(dev, p, &depth, buffer, &count, 1);
  bezier_flush(dev, buffer, &count, 1);
  ASSERT_FALSE(dev.calls.empty());
  EXPECT_EQ(dev.calls[0], "move_to 0 0");  // one figure: move once, then runs from the current point
  EXPECT_EQ(dev.calls_starting("move_to").size(), 1u);
  EXPECT_FALSE(dev.calls_starting("poly_bezier_to").empty());
  EXPECT_FALSE(dev.calls_starting("polyline_to").empty());
  // Every device point stays within the z box.
  for (const std::string& call : dev.calls) {
    std::size_t pos = call.find(' ');
    while (pos != std::string::npos) {
      int x = 0, y = 0;
      if (std::sscanf(call.c_str() + pos + 1, "%d,%d", &x, &y) == 2) {
        EXPECT_LE(x, 100) << call;
        EXPECT_GE(-y, -100) << call;
      }
      pos = call.find(' ', pos + 1);
    }
  }
  EXPECT_EQ(dev.current, (draw_point{100, -100}));  // ends at the z box corner (100, 100) beside P3
}

TEST(GraphCurves, SplitParameterStaysInsideTheCurve) {
  const view_box z = {-100, 100, -100, 100, 0, 0}, s = {-50, 50, -50, 50, 0, 0};
  const graph_point far[4] = {{-300, 0}, {0, 0}, {0, 0}, {300, 0}};
  EXPECT_EQ(bezier_split_parameter(z, s, far, 3), 0.5);
  EXPECT_DOUBLE_EQ(bezier_split_parameter(z, s, far, 4), 0.5);  // opposite sides: at the centre
  const graph_point entering[4] = {{-300, 0}, {0, 0}, {0, 0}, {0, 10}};
  EXPECT_DOUBLE_EQ(bezier_split_parameter(z, s, entering, 5), (-75.0 + 300) / 300);
  const graph_point flat[4] = {{-300, 5}, {0, 0}, {0, 0}, {-300, 5}};  // x3 = x0
  EXPECT_EQ(bezier_split_parameter(z, s, flat, 5), 0.5);
}

TEST(GraphCurves, AverageRoundsInnerPointsAndClosedStarts) {
  const graph_point open[] = {{0, 0}, {10, 10}, {20, 0}};
  std::vector<graph_point> q, before, after;
  ASSERT_TRUE(smooth_curve_points(open, 3, 0, 10, 0, q, before, after));
  EXPECT_EQ(q[0], (graph_point{0, 0}));
  EXPECT_EQ(q[1], (graph_point{10, 5}));  // halfway to its neighbours' midpoint
  EXPECT_EQ(q[2], (graph_point{20, 0}));
  const graph_point closed[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
  ASSERT_TRUE(smooth_curve_points(closed, 5, 0, 10, 1, q, before, after));
  EXPECT_EQ(q[0], (graph_point{2.5, 2.5}));
  EXPECT_EQ(q[4], q[0]);
  EXPECT_EQ(q[2], (graph_point{7.5, 7.5}));
  EXPECT_FALSE(smooth_curve_points(open, 1, 5, 5, 0, q, before, after));
}

TEST(GraphCurves, SmoothControlsFollowTheTangentAndNeverSpike) {
  const graph_point p[] = {{0, 0}, {10, 0}, {20, 0}, {20, 0}, {20, 0}, {30, 10}};
  std::vector<graph_point> q, before, after;
  ASSERT_TRUE(smooth_curve_points(p, 6, 10, 0, 0, q, before, after));
  EXPECT_EQ(after[0], p[0]);
  EXPECT_EQ(before[5], p[5]);
  EXPECT_EQ(before[1], (graph_point{5, 0}));  // 10 - 0.5 x 20 x 0.5
  EXPECT_EQ(after[1], (graph_point{15, 0}));
  EXPECT_EQ(before[3], p[3]);  // three equal points: the point itself
  EXPECT_EQ(after[3], p[3]);
}

TEST(GraphCurves, NoSmoothingOrRoundingDrawsThePlainPolyline) {
  unit_render();
  RecordingDevice dev;
  const graph_point p[] = {{0, 0}, {10, 10}, {20, 0}};
  view_draw_smooth_curve(dev, p, 3, 0, 0, 0, 0);
  EXPECT_EQ(dev.calls, (std::vector<std::string>{"polyline 0,0 10,-10 20,0"}));
  dev.calls.clear();
  view_draw_smooth_curve(dev, p, 3, 5, 0, 0, 0);
  EXPECT_EQ(dev.calls_starting("poly_bezier ").size(), 2u);
}

// ---- ticks and numbers ----

TEST(GraphAxes, StepChoice) {
  struct step_case {
    double raw, step;
    int digit;
  };
  const step_case cases[] = {{0.75, 0.5, 5}, {1.44, 1, 1}, {2.9, 2, 2}, {7.9, 5, 5},  {8.0, 10, 1},
                             {0, 1, 1},      {0.0099, 0.01, 1}, {2.5e-12, 2e-12, 2}, {NAN, 1, 1}};
  for (const step_case& c : cases) {
    linear_step s = choose_linear_step(c.raw);
    EXPECT_DOUBLE_EQ(s.step, c.step) << c.raw;
    EXPECT_EQ(s.digit, c.digit) << c.raw;
    EXPECT_DOUBLE_EQ(s.digit * s.pow / s.invpow, s.step) << c.raw;
  }
}

TEST(GraphAxes, StepFollowsScaleAndGridDensity) {
  graph_reset();
  render.plot_width_in = 7.4, render.plot_height_in = 10;
  graph.graph_hscale_calc = 0.75;
  graph.graph_vscale_calc = 0.75;
  axis_compute_linear_steps();
  EXPECT_DOUBLE_EQ(axes.step_x.step, 0.5);
  graph.grid_density = 0.25;
  axis_compute_linear_steps();
  EXPECT_DOUBLE_EQ(axes.step_x.step, 0.2);  // raw 0.1875
}

TEST(GraphAxes, NumberTexts) {
  struct number_case {
    int digit, exponent, k;
    int form_before;
    const char* text;
    int form_after;
  };
  const number_case cases[] = {
      {1, 0, 3, 0, "3", 0},
      {5, -1, 1, 0, ".5", 0},
      {1, -1, 3, 0, ".3", 0},
      {2, -1, -1, 0, "-.2", 0},
      {2, -2, 55, 0, "1.1", 0},
      {1, 0, 0, 0, "", 0},
      {5, 2, 4, 0, "2000", 0},
      {1, -11, 1, 0, "1e-011", 1},
      {5, 9, 3, 0, "1.5e+010", 1},
      {1, -3, 1234567891, 0, "1.23456789e+006", 1},  // ten digits: exponent form, cut to nine
      {1, 0, 3, 1, "3e+000", 1},
      {1, 0, 0, 1, "0", 1},
      {2, -12, -5, 0, "-1e-011", 1},
  };
  for (const number_case& c : cases) {
    int form = c.form_before;
    EXPECT_EQ(axis_format_number(c.digit, c.exponent, c.k, form), c.text) << c.digit << " " << c.exponent << " " << c.k;
    EXPECT_EQ(form, c.form_after) << c.text;
  }
}

TEST(GraphAxes, FirstTickSaturates) {
  linear_step s = choose_linear_step(1e-300);
  EXPECT_EQ(axis_first_tick(s, 1, 1e10), INT_MIN);
  s = choose_linear_step(1);
  EXPECT_EQ(axis_first_tick(s, 100, 2.5), -2);
}

}  // namespace

namespace {

// The mantissas (as mantissa x 10^exponent relative to the decade) of the
// ticks in the first full decade from 1.
std::vector<double> first_decade(const log_tick_table& t) {
  std::vector<double> values;
  for (int i = 0; i < t.count; ++i) {
    double v = t.ticks[i].mantissa * std::pow(10.0, t.ticks[i].exponent);
    if (v >= 1 - 1e-12 && v < 10 - 1e-12) values.push_back(v);
  }
  return values;
}

TEST(GraphLogTicks, ZoomedOutTicksEveryTenDecades) {
  log_tick_steps s = log_tick_choose_steps(20, 1.5, 1);
  EXPECT_EQ(s.base, 1e10);
  log_tick_table t;
  log_tick_fill(s, 35, 96.0 / 20, 717, t);  // the view starts at 10^-35
  ASSERT_GE(t.count, 3);
  for (int i = 0; i < t.count; ++i) {
    EXPECT_EQ(t.ticks[i].mantissa, 1);
    EXPECT_EQ(t.ticks[i].exponent % 10, 0) << i;
    EXPECT_EQ(t.ticks[i].flags, log_tick_numbered | log_tick_decade) << i;
    if (i > 0) {
      EXPECT_DOUBLE_EQ(t.ticks[i].value - t.ticks[i - 1].value, 10);
    }
  }
}

TEST(GraphLogTicks, HalfStepsAtAboutHalfADecadePerInch) {
  log_tick_steps s = log_tick_choose_steps(0.44, 1.5, 1);
  EXPECT_EQ(s.digit, 5);
  EXPECT_EQ(s.exponent, -1);
  EXPECT_EQ(s.hi, 6);
  EXPECT_FALSE(s.thin);
  log_tick_table t;
  log_tick_fill(s, 0.1, 96 / 0.44, 717, t);  // from 10^-0.1 to about 10^3.3
  EXPECT_EQ(first_decade(t), (std::vector<double>{1, 1.5, 2, 3, 4, 5, 6, 8}));
  for (int i = 0; i < t.count; ++i) EXPECT_TRUE(t.ticks[i].flags & log_tick_numbered) << i;
  EXPECT_NEAR(t.ticks[0].value, std::log10(0.6), 1e-12);  // at or before the near edge
}

TEST(GraphLogTicks, BaseStepOfTwoTicksAtOneAndFive) {
  log_tick_steps s = log_tick_choose_steps(4 * std::log10(2.8), 1.5, 1);
  EXPECT_EQ(s.base, 2);
  log_tick_table t;
  log_tick_fill(s, 0, 96 / 1.79, 717, t);
  EXPECT_EQ(first_decade(t), (std::vector<double>{1, 5}));
  EXPECT_EQ(t.ticks[0].flags & log_tick_decade, log_tick_decade);
  EXPECT_EQ(t.ticks[1].flags & log_tick_decade, 0u);
}

// Views over a very narrow range (as data from 1000 to 1000.01 shows, or a
// zoom that far): ticks inside the view, each at the value its mantissa and
// exponent name, increasing, some of them numbered.
TEST(GraphLogTicks, NarrowRangesGetTicksWhereTheirNumbersSay) {
  struct narrow_case {
    double lo, hi;
    int at_least;  // ticks inside the view
  };
  const narrow_case cases[] = {
      {1000, 1000.01, 5}, {1000, 1000.0001, 5}, {1, 1.000001, 5}, {0.05, 0.0500001, 3}, {7e20, 7.00001e20, 5},
  };
  const int plot = 717;
  for (const narrow_case& c : cases) {
    SCOPED_TRACE(std::to_string(c.lo) + " .. " + std::to_string(c.hi));
    const double o = -std::log10(c.lo), span = std::log10(c.hi) + o;
    const double ppd = plot / span;
    log_tick_steps s = log_tick_choose_steps(span / (plot / 96.0), 1.5, 1);
    log_tick_table t;
    log_tick_fill(s, o, ppd, plot, t);
    int inside = 0, numbered = 0;
    for (int i = 0; i < t.count; ++i) {
      const log_tick& k = t.ticks[i];
      const double named = k.mantissa * std::pow(10.0, k.exponent);
      EXPECT_NEAR(std::pow(10.0, k.value), named, named * 1e-12) << i;
      if (i > 0) {
        EXPECT_GT(k.value, t.ticks[i - 1].value) << i;
      }
      const double px = (o + k.value) * ppd;
      if (px >= -0.5 && px < plot) {
        ++inside;
        if (k.flags & log_tick_numbered) ++numbered;
      }
    }
    EXPECT_GE(inside, c.at_least) << t.count;
    EXPECT_GE(numbered, 2);
  }
}

TEST(GraphLogTicks, TableIsCutAtNinetyNine) {
  log_tick_steps s = log_tick_choose_steps(0.01, 1.5, 1);
  log_tick_table t;
  log_tick_fill(s, 0, 1, 100000, t);
  EXPECT_EQ(t.count, 99);
}

}  // namespace
