// The graph window's behaviour without a toolkit: sizing, zoom and move with
// their limits, clicks and keystate, typed characters as events, the grid
// density steps, the menu and the repaint throttle, through the fake host
// and a fake clock.
#include <cmath>
#include <string>
#include <vector>

#include "graph_test_support.h"
#include "graph/graph_state.h"
#include "graph/graph_statement.h"
#include "graph/graph_window.h"
#include "graph/graph_window_core.h"
#include "graph/shape_draw.h"
#include "graph/shapes.h"
#include "interpreter/keywords.h"
#include "interpreter/special_names.h"
#include "interpreter/statements.h"
#include "tests/support/recording_device.h"

namespace {

std::int64_t fake_now = 0;
std::int64_t fake_clock() { return fake_now; }

class GraphWindowCoreTest : public GraphWindowTest {
 protected:
  void SetUp() override {
    GraphWindowTest::SetUp();
    fake_now = 1000000;
    set_graph_clock(fake_clock);
  }
  void TearDown() override {
    set_graph_clock(nullptr);
    GraphWindowTest::TearDown();
  }
  void graph_statement(const std::string& args) { ASSERT_EQ(run_statement(stmt_graph, args), 0) << port.output; }
  void plot(const std::string& args) { ASSERT_EQ(run_statement(stmt_plot, args), 0) << port.output; }
  // A window with a plot, painted once on a 721 x 961 client (96 per inch).
  void painted_graph(const std::string& graph_args = "") {
    graph_statement(graph_args);
    plot("x=0, y=0");
    plot("x=10, y=20");
    paint();
  }
  void paint() {
    RecordingDevice dev(721, 961);
    ASSERT_EQ(graph_paint(dev), 0) << port.output;
  }
  std::string last_call() const { return host.calls.empty() ? "" : host.calls.back(); }
  static double predefined(int index) { return predefined_variables[index].value.number; }
};

// ---- sizing ----

TEST_F(GraphWindowCoreTest, InitialSizeKeepsTheRatioInsideTheWorkArea) {
  struct row {
    double width_in, height_in;
    int frame_w, frame_h, work_right, work_bottom;
    int want_w, want_h;
  };
  const row rows[] = {
      {7.5, 10, 0, 0, 1920, 1040, 624, 832},     // 1536 tried first, the height capped at 832
      {7.5, 10, 16, 59, 1920, 1040, 595, 832},   // the frame is kept out of the ratio
      {10, 2, 0, 0, 1920, 1040, 1535, 307},      // wide: the width leads
      {10, 7.5, 0, 0, 1920, 1040, 1109, 832},    // landscape: capped by the height
      {1, 1000, 0, 0, 1920, 1040, 150, 832},     // very tall: never below 150 pixels
      {1000, 0.01, 8, 30, 1920, 1040, 150, 150},   // very wide: no side below 150
  };
  for (const row& r : rows) {
    SCOPED_TRACE(std::to_string(r.width_in) + " x " + std::to_string(r.height_in));
    graph.graph_width = r.width_in;
    graph.graph_height = r.height_in;
    int w = 0, h = 0;
    graph_window_initial_size(r.frame_w, r.frame_h, r.work_right, r.work_bottom, w, h);
    EXPECT_EQ(w, r.want_w);
    EXPECT_EQ(h, r.want_h);
    EXPECT_EQ(window_sizes.graph_accepted_width, w);
    EXPECT_EQ(window_sizes.graph_last_height, h);
  }
}

TEST_F(GraphWindowCoreTest, ResizeLetsTheChangedSideDriveTheOther) {
  struct row {
    const char* what;
    graph_size_request ask;
    int want_x, want_y, want_w, want_h;
  };
  // Each row starts from the default graph at 624 x 832 on 1920 x 1040.
  const row rows[] = {
      {"right edge", {10, 10, 700, 832, false}, 10, 10, 700, 933},
      {"bottom edge", {10, 10, 624, 900, false}, 10, 10, 675, 900},
      {"width below 150", {10, 10, 100, 832, false}, 10, 10, 112, 150},
      {"height below 150", {10, 10, 624, 120, false}, 10, 10, 150, 200},
      {"too tall, off screen", {-20, -30, 1000, 832, false}, 0, 0, 780, 1040},
      {"too wide", {-20, 40, 624, 2800, false}, 0, 40, 1920, 2560},
      {"maximise", {0, 0, 1920, 1040, true}, 0, 0, 780, 1040},
      {"same size", {3, 4, 624, 832, false}, 3, 4, 624, 832},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.what);
    int w = 0, h = 0;
    graph_window_initial_size(0, 0, 1920, 1040, w, h);
    graph_size_request ask = r.ask;
    graph_window_size_changing(ask);
    EXPECT_EQ(ask.x, r.want_x);
    EXPECT_EQ(ask.y, r.want_y);
    EXPECT_EQ(ask.width, r.want_w);
    EXPECT_EQ(ask.height, r.want_h);
  }
}

TEST_F(GraphWindowCoreTest, GraphWidthAndHeightOnAnOpenWindowResizeFromTheWorkArea) {
  graph_statement("");
  int w = 0, h = 0;
  graph_window_initial_size(0, 0, 1920, 1040, w, h);
  graph_statement("width=10, height=5");
  EXPECT_EQ(graph.graph_window_reset_size, 1);
  graph_size_request ask{300, 300, host.width, host.height, false};
  graph_window_size_changing(ask);
  EXPECT_EQ(ask.x, 5);
  EXPECT_EQ(ask.y, 5);
  EXPECT_EQ(ask.width, 1536);
  EXPECT_EQ(ask.height, 768);
  EXPECT_EQ(graph.graph_window_reset_size, 0);
}

TEST_F(GraphWindowCoreTest, ExtremeRatiosGiveSaneSizes) {
  graph.graph_width = 1000;
  graph.graph_height = 0.001;  // a million to one
  int w = 0, h = 0;
  graph_window_initial_size(10, 40, 1920, 1040, w, h);
  for (graph_size_request ask : {graph_size_request{0, 0, 700, 300, false}, graph_size_request{0, 0, 1, 1, true},
                                 graph_size_request{0, 0, 700, 5000, false}}) {
    graph_window_size_changing(ask);
    EXPECT_GE(ask.width, 1);
    EXPECT_LE(ask.width, graph_window_max_px);
    EXPECT_GE(ask.height, 1);
    EXPECT_LE(ask.height, graph_window_max_px);
  }
  graph.graph_height = 0;  // never reached through GRAPH; still no division by zero
  graph_window_initial_size(0, 0, 1920, 1040, w, h);
  EXPECT_EQ(w, 624);
  EXPECT_EQ(h, 832);
}

// ---- zoom ----

TEST_F(GraphWindowCoreTest, ZoomKeepsTheCentreAndRefusesPastItsLimits) {
  painted_graph();
  const double hs = graph.graph_hscale_calc, vs = graph.graph_vscale_calc;
  const double ho = graph.graph_hoffset_calc, vo = graph.graph_voffset_calc;
  ASSERT_GT(hs, 0);
  ASSERT_EQ(graph_zoom(1, 1.5, 0), 0);
  EXPECT_DOUBLE_EQ(graph.graph_hscale, hs / 1.5);
  EXPECT_DOUBLE_EQ(graph.graph_vscale, vs / 1.5);
  EXPECT_DOUBLE_EQ(graph.graph_hoffset, (hs / 1.5 - hs) * 7.5 / 2 + ho);
  EXPECT_DOUBLE_EQ(graph.graph_voffset, (vs / 1.5 - vs) * 10 / 2 + vo);
  ASSERT_EQ(graph_zoom(1, 1.5, 1), 0);  // horizontal only
  EXPECT_DOUBLE_EQ(graph.graph_vscale, vs);

  struct refusal {
    double hscale, vscale, hoffset;
    int zoom_in;
    const char* message;
  };
  const refusal refusals[] = {
      {1e-306, 1, 0, 1, "Scale factor would be too small."},
      {1, 1e307, 0, 0, "Scale factor would be too large."},
      {1, 1, 2e8, 1, "|Offset / scale| would be too large."},
  };
  for (const refusal& r : refusals) {
    SCOPED_TRACE(r.message);
    graph.graph_hscale_calc = r.hscale;
    graph.graph_vscale_calc = r.vscale;
    graph.graph_hoffset_calc = r.hoffset;
    graph.graph_hscale = graph.graph_vscale = 7;
    EXPECT_EQ(graph_zoom(r.zoom_in, 1.5, 0), -1);
    EXPECT_EQ(last_call(), std::string("message Graph Zoom: Unable to perform requested zoom. ") + r.message);
    EXPECT_EQ(graph.graph_hscale, 7);
    EXPECT_EQ(graph.graph_vscale, 7);
  }
}

TEST_F(GraphWindowCoreTest, ZoomOutStaysInsideTheAxisLimits) {
  painted_graph();
  graph.graph_hlimit_min = -1;
  graph.graph_hlimit_max = 1000;
  graph.graph_hoffset_calc = 5;  // would show values below the limit
  ASSERT_EQ(graph_zoom(0, 1.1, 0), 0);
  EXPECT_DOUBLE_EQ(graph.graph_hoffset, 1);  // -hlimit_min
  graph.graph_hlimit_max = 0;  // the view cannot fit between -1 and 0 any more
  graph.graph_hscale_calc = 10;
  EXPECT_EQ(graph_zoom(0, 1.5, 0), -1);
  EXPECT_EQ(last_call(), "message Graph Zoom: Unable to perform requested zoom. Scale factor would be too large.");
}

TEST_F(GraphWindowCoreTest, KeysAndWheelZoomUnlessTheScreenIsLocked) {
  painted_graph();
  const double hs = graph.graph_hscale_calc;
  graph.graph_lockscreen = 1;
  for (int key : {graph_key_up, graph_key_down, graph_key_left, graph_key_right}) graph_key_pressed(key);
  graph_wheel(120);
  EXPECT_EQ(graph.graph_hscale, 0);
  graph.graph_lockscreen = 0;
  graph_key_pressed(graph_key_up);
  EXPECT_DOUBLE_EQ(graph.graph_hscale, hs / 1.5);
  graph.graph_equalscales = 1;
  graph_key_pressed(graph_key_left);  // out by 1.5 from the scale in force
  EXPECT_EQ(graph.graph_equalscales, 0);
  EXPECT_DOUBLE_EQ(graph.graph_hscale, hs * 1.5);
  graph_wheel(-120);
  EXPECT_DOUBLE_EQ(graph.graph_hscale, hs * 1.1);
}

// ---- move, clicks and keystate ----

TEST_F(GraphWindowCoreTest, DragMovesTheGraphAndAClickReportsWhereItWas) {
  painted_graph();
  const double ho = graph.graph_hoffset_calc, vo = graph.graph_voffset_calc;
  double x0 = 0, y0 = 0;
  ASSERT_TRUE(graph_data_coordinates(300, 400, x0, y0));
  graph_left_press(300, 400, 0);
  EXPECT_EQ(graph_drag_in_progress(), 1);
  graph_mouse_move(340, 380, true);
  EXPECT_DOUBLE_EQ(graph.graph_hoffset, ho + 40 / render.px_per_unit_x);
  EXPECT_DOUBLE_EQ(graph.graph_voffset, vo + 20 / render.px_per_unit_y);
  paint();  // the window repaints while the mouse moves
  graph_left_release(340, 380, 0);
  EXPECT_EQ(graph_drag_in_progress(), 0);
  EXPECT_EQ(graph.graph_hscale, graph.graph_hscale_calc);  // the moved view stays
  EXPECT_EQ(graph_event, -2);
  // The graph moved with the mouse: the release shows the data point of the press.
  EXPECT_NEAR(predefined(PREDEF_MOUSEXCOORD), x0, 1e-9);
  EXPECT_NEAR(predefined(PREDEF_MOUSEYCOORD), y0, 1e-9);
  EXPECT_EQ(predefined(PREDEF_KEYSTATE), 0);
}

TEST_F(GraphWindowCoreTest, ClicksWithShiftAndCtrlNeverMoveTheGraph) {
  painted_graph();
  const struct {
    int modifiers;
    double keystate;
  } rows[] = {{graph_shift, 1}, {graph_ctrl, 2}, {graph_shift | graph_ctrl, 3}, {0, 0}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.modifiers);
    graph_event = -1;
    graph.graph_hscale = graph.graph_hoffset = 0;
    graph_left_press(200, 200, r.modifiers);
    EXPECT_EQ(graph_drag_in_progress(), r.modifiers == 0 ? 1 : 0);
    graph_mouse_move(260, 260, true);
    graph_left_release(260, 260, r.modifiers);
    EXPECT_EQ(graph_event, -2);
    EXPECT_EQ(predefined(PREDEF_KEYSTATE), r.keystate);
    if (r.modifiers != 0) {
      EXPECT_EQ(graph.graph_hoffset, 0);
    }
  }
}

TEST_F(GraphWindowCoreTest, AClickWhereItWasPressedLeavesTheViewAutomatic) {
  painted_graph();
  graph_left_press(250, 250, 0);
  graph_mouse_move(250, 250, true);
  graph_left_release(250, 250, 0);
  EXPECT_EQ(graph.graph_hscale, 0);
  EXPECT_EQ(graph.graph_vscale, 0);
  EXPECT_EQ(graph.graph_hoffset, 0);
  EXPECT_EQ(graph.graph_voffset, 0);
}

TEST_F(GraphWindowCoreTest, AMoveTooFarIsRefusedAndPutBack) {
  painted_graph();
  graph.graph_hscale_calc = 1e-12;  // a pixel is worth a lot against this scale
  render.px_per_unit_x = 1e-6;
  graph_left_press(100, 100, 0);
  graph_mouse_move(400, 100, true);
  EXPECT_EQ(last_call(), "message Graph Move: Unable to perform requested move. |Offset / scale| would be too large.");
  EXPECT_EQ(graph_drag_in_progress(), 0);
  EXPECT_EQ(graph.graph_hscale, 0);
  EXPECT_EQ(graph.graph_hoffset, 0);  // automatic, as before the press
}

TEST_F(GraphWindowCoreTest, AClickOnClickableShapesAsksThePaintForTheHitTest) {
  painted_graph();
  shapes.clickable_shapes_exist = 1;
  graph_event = 5;
  graph_left_release(123, 456, 0);
  EXPECT_EQ(shape_hit_test_pending, 1);
  EXPECT_EQ(graph_click_x, 123);
  EXPECT_EQ(graph_click_y, 456);
  EXPECT_EQ(graph_event, 5);  // decided by the next paint
  paint();
  EXPECT_EQ(graph_event, -2);  // nothing clickable under the click
  shape_hit_test_pending = 0;
}

TEST_F(GraphWindowCoreTest, MouseCoordinatesOnLogAndDateAxes) {
  graph_statement("hscaletype=log, vscaletype=datetime");
  plot("x=1, y=1.7e9");
  plot("x=1000, y=1.8e9");
  paint();
  double x = 0, y = 0;
  ASSERT_TRUE(graph_data_coordinates(360, 480, x, y));
  const double ax = ((360 - render.plot_left_px) - 0.5) / render.px_per_unit_x - graph.graph_hoffset_calc;
  const double ay = ((render.plot_height_px - 1 + render.plot_top_px - 480) - 0.5) / render.px_per_unit_y -
                    graph.graph_voffset_calc;
  EXPECT_DOUBLE_EQ(x, std::pow(10.0, ax));
  EXPECT_DOUBLE_EQ(y, ay);  // seconds as they are
  std::string xt, yt;
  graph_coordinates_text(360, 480, xt, yt);
  char want[64];
  std::snprintf(want, sizeof want, "%23.18g", x);
  EXPECT_EQ(xt, want);
  EXPECT_NE(yt.find(':'), std::string::npos) << yt;  // a date and time
  EXPECT_EQ(port.output.find("ERROR"), std::string::npos) << port.output;
}

// ---- typed characters ----

TEST_F(GraphWindowCoreTest, EveryCharacterHasAnEventOfItsOwn) {
  const struct {
    char32_t ch;
    double event;
  } rows[] = {
      {U'A', -65},   {U'a', -97},   {U' ', -32},     {U'~', -126},  {U'\r', -13},   {3, -3},
      {0, -256},     {1, -257},     {2, -258},       {0x7F, -127},  {0x20AC, -128},  // the euro sign, byte 0x80
      {0xE9, -233},  {0xFF, -255},  {0x0100, -65792},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(static_cast<unsigned>(r.ch));
    EXPECT_EQ(graph_character_event(r.ch), r.event);
  }
}

TEST_F(GraphWindowCoreTest, AKeyIsAnEventOnlyWhenNoneIsPending) {
  graph_statement("");
  graph_event = -1;
  graph_character_typed(U'A');
  graph_character_typed(U'B');  // lost: an event is pending
  EXPECT_EQ(graph_event, -65);
  graph_event = -1;
  graph_character_typed(U'\t');  // Tab goes back to the command box
  EXPECT_EQ(graph_event, -1);
  key_waiting = 1;  // INKEY$ waits: the key goes there instead
  key_ready = 0;
  graph_character_typed(U'\u00e9');
  EXPECT_EQ(key_ready, 1u);
  EXPECT_EQ(key_char, 0xE9);
  key_ready = 0;
  graph_character_typed(U'\u0100');  // nothing in Windows-1252
  EXPECT_EQ(key_char, '?');
  key_waiting = key_ready = 0;
  EXPECT_EQ(graph_event, -1);
}

// ---- menu ----

TEST_F(GraphWindowCoreTest, GridDensityStepsBetweenAQuarterAndFour) {
  graph_statement("");
  EXPECT_TRUE(host.enabled[graph_menu_more_grid]);
  EXPECT_TRUE(host.enabled[graph_menu_fewer_grid]);
  const struct {
    int item;
    double want;
    bool more_enabled, fewer_enabled;
  } steps[] = {
      {graph_menu_more_grid, 0.5, true, true},   {graph_menu_more_grid, 0.25, false, true},
      {graph_menu_more_grid, 0.25, false, true}, {graph_menu_fewer_grid, 0.5, true, true},
      {graph_menu_fewer_grid, 1, true, true},    {graph_menu_fewer_grid, 2, true, true},
      {graph_menu_fewer_grid, 4, true, false},   {graph_menu_fewer_grid, 4, true, false},
  };
  for (const auto& s : steps) {
    ASSERT_EQ(graph_menu_command(s.item), 0);
    EXPECT_EQ(graph.grid_density, s.want);
    EXPECT_EQ(host.enabled[graph_menu_more_grid], s.more_enabled) << s.want;
    EXPECT_EQ(host.enabled[graph_menu_fewer_grid], s.fewer_enabled) << s.want;
  }
}

TEST_F(GraphWindowCoreTest, MenuTogglesTickAndAutoScaleResets) {
  graph_statement("");
  EXPECT_TRUE(host.ticks[graph_menu_grid]);
  const struct {
    int item;
    int* setting;
  } toggles[] = {{graph_menu_grid, &graph.graph_grid},
                 {graph_menu_border, &graph.graph_border},
                 {graph_menu_axes, &graph.graph_axes},
                 {graph_menu_crosshairs, &graph.graph_crosshairs}};
  const int tick_ids[] = {graph_menu_grid, graph_menu_border, graph_menu_axes, graph_menu_crosshairs};
  for (int i = 0; i < 4; ++i) {
    const int before = *toggles[i].setting;
    const int invalidations = host.invalidations;
    ASSERT_EQ(graph_menu_command(toggles[i].item), 0);
    EXPECT_EQ(*toggles[i].setting, 1 - before);
    EXPECT_EQ(host.ticks[tick_ids[i]], before == 0);
    EXPECT_GT(host.invalidations, invalidations);
  }
  plot("x=1, y=2");
  paint();
  ASSERT_EQ(graph_menu_command(graph_menu_zoom_in_10), 0);
  EXPECT_NE(graph.graph_hscale, 0);
  ASSERT_EQ(graph_menu_command(graph_menu_auto_scale), 0);
  for (double v : {graph.graph_hscale, graph.graph_vscale, graph.graph_hscale_calc, graph.graph_vscale_calc,
                   graph.graph_hoffset_calc, graph.graph_voffset_calc, graph.graph_hoffset, graph.graph_voffset})
    EXPECT_EQ(v, 0);
  EXPECT_EQ(graph_menu_command(graph_menu_pause), 1);  // the window's own
}

TEST_F(GraphWindowCoreTest, CloseFromTheMenuEndsTheGraph) {
  graph_statement("");
  ASSERT_EQ(graph_menu_command(graph_menu_close), 0);
  EXPECT_EQ(graph_window_is_open(), 0);
  EXPECT_EQ(last_call(), "close");
  EXPECT_EQ(run_statement(stmt_plot, "x=1, y=1"), -257);
}

// ---- repaint throttle ----

TEST_F(GraphWindowCoreTest, ChangesRepaintOnlyAfterATenthOfASecond) {
  graph_statement("");
  paint();
  const int before = host.invalidations;
  plot("x=1, y=1");
  fake_now += 60000;
  plot("x=2, y=2");  // the stamp stays at the first change
  graph_repaint_throttled();
  EXPECT_EQ(host.invalidations, before);
  fake_now += 40001;
  graph_repaint_throttled();
  EXPECT_EQ(host.invalidations, before + 1);
  paint();
  fake_now += 1000000;
  graph_repaint_throttled();  // painted: nothing changed since
  EXPECT_EQ(host.invalidations, before + 1);
}

}  // namespace
