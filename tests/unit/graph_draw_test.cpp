// Rendering the graph: the order of drawing calls per output mode, the grid,
// zero axes, numbers and plot lines, recorded by the recording device after
// GRAPH and PLOT statements ran through the interpreter.
#include <algorithm>
#include <string>
#include <vector>

#include "graph_test_support.h"
#include "graph/axes.h"
#include "graph/datetime_ticks.h"
#include "graph/graph_draw.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "interpreter/datetime.h"
#include "interpreter/named_vars.h"
#include "interpreter/run_control.h"
#include "interpreter/statements.h"
#include "tests/support/fake_graph_host.h"
#include "tests/support/recording_device.h"

namespace {

class GraphDrawTest : public GraphWindowTest {
 protected:
  // Runs statements (each "GRAPH ..." or "PLOT ..."), stopping at a failure.
  void run(const std::vector<std::string>& statements) {
    for (const std::string& s : statements) {
      bool is_graph = s.rfind("GRAPH", 0) == 0;
      point_at(s.substr(is_graph ? 5 : 4));
      ASSERT_EQ(is_graph ? stmt_graph() : stmt_plot(), 0) << s << "\n" << port.output;
    }
  }
  // Renders the whole graph on dev (721 x 961 pixels at 96 per inch).
  int render_on(RecordingDevice& dev, int mode) {
    return graph_render(dev, mode, 0, 0, dev.width_px(), dev.height_px(), 96, 96);
  }
  static int index_of(const std::vector<std::string>& calls, const std::string& prefix) {
    for (std::size_t i = 0; i < calls.size(); ++i)
      if (calls[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
    return -1;
  }
  static int count_of(const std::vector<std::string>& calls, const std::string& prefix) {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                          [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
  }
};

TEST_F(GraphDrawTest, OrderOfTheRenderPerOutputMode) {
  run({"GRAPH", "PLOT color=(255,0,0), x=0, y=0", "PLOT x=4, y=4"});
  for (int mode : {output_screen, output_printer, output_metafile, output_jpeg}) {
    RecordingDevice dev(721, 961);
    graph.graph_crosshairs = 1;
    ASSERT_EQ(render_on(dev, mode), 0) << mode;
    const std::vector<std::string>& c = dev.calls;
    EXPECT_EQ(c[0], "end_path");
    const int background = index_of(c, "rectangle 0 0 721 961");
    if (mode == output_screen || mode == output_printer) EXPECT_EQ(background, -1) << mode;  // white is not painted
    else EXPECT_EQ(background, 3) << mode;
    const int frame_pen = index_of(c, "select_pen insideframe 2 0x000000");
    const int font = index_of(c, "select_font 19 0 600");  // 14.5 points at 96 per inch
    const int grid_pen = index_of(c, mode == output_screen ? "select_pen dot 1 0x808080" : "select_pen solid 1 0x808080");
    const int axis_pen = index_of(c, "select_pen solid 2 0x000000");
    const int numbers = index_of(c, "text_out");
    const int plot_pen = index_of(c, "select_pen solid 4 0x0000ff");  // 3 points
    const int plot_line = index_of(c, "polyline");
    const int border = index_of(c, "move_to 1 1");
    const int cross = index_of(c, "select_pen insideframe 2 0x0000ff");
    EXPECT_LT(background, frame_pen);
    EXPECT_LT(frame_pen, font);
    EXPECT_LT(font, grid_pen);
    EXPECT_LT(grid_pen, axis_pen);
    EXPECT_LT(axis_pen, numbers);
    EXPECT_LT(numbers, plot_pen);  // a plot line covers the numbers
    EXPECT_LT(plot_pen, plot_line);
    EXPECT_LT(plot_line, border);
    if (mode == output_screen) EXPECT_GT(cross, border);
    else EXPECT_EQ(cross, -1) << mode;  // cross hairs only on the screen
  }
}

// A level x number gives way to a vertical-axis number whose box overlaps
// its own: above the axis from y - ascent to y - 1 + cy - ascent, below it
// from y + cy - ascent to y - 1 + cy (the fake font: 19 pixels, ascent 15).
TEST_F(GraphDrawTest, LevelXNumbersGiveWayToOverlappingYNumbers) {
  struct box_case {
    const char* graph;  // GRAPH parameters: the x axis near the top, or not
    int below;          // the x numbers stand below the axis
    int top, bottom;    // the planted box's rows, relative to the number's y
    bool drawn;
  };
  const box_case cases[] = {
      {"", 1, -5, 3, true},    // above y + 4: clear of the box below the axis
      {"", 1, -5, 4, true},    // touching it: not overlapping
      {"", 1, 4, 6, false},    // inside it
      {"", 1, 17, 30, false},  // over its last row
      {"vscale=0.6", 0, -30, -14, false},  // above the axis: from y - 15
      {"vscale=0.6", 0, -30, -15, true},
      {"vscale=0.6", 0, 3, 10, true},      // below y + 3
  };
  for (const box_case& c : cases) {
    SCOPED_TRACE(std::string(c.graph) + " " + std::to_string(c.top) + ".." + std::to_string(c.bottom));
    graph_window_destroy();
    run({std::string("GRAPH ") + c.graph, "PLOT x=0, y=-5", "PLOT x=5, y=0"});
    RecordingDevice dev(721, 961);
    ASSERT_EQ(render_on(dev, output_screen), 0);
    ASSERT_EQ(axes.x_numbers_below, c.below);
    // The x numbers again, alone: where ".5" stands, then with a box planted
    // over its column.
    axes.y_number_box_count = 0;
    RecordingDevice plain(721, 961);
    ASSERT_EQ(axis_draw_x_numbers(plain, 0), 0);
    int x = 0, y = 0;
    const std::vector<std::string> first = plain.calls_starting("text_out");
    ASSERT_FALSE(first.empty());
    ASSERT_EQ(std::sscanf(first[0].c_str(), "text_out %d %d '.5'", &x, &y), 2) << first[0];
    axes.y_number_boxes[0] = {x - 20, y + c.top, x + 20, y + c.bottom};
    axes.y_number_box_count = 1;
    RecordingDevice planted(721, 961);
    ASSERT_EQ(axis_draw_x_numbers(planted, 0), 0);
    const std::vector<std::string> then = planted.calls_starting("text_out");
    ASSERT_FALSE(then.empty());
    EXPECT_EQ(then[0] == first[0], c.drawn) << then[0];
    EXPECT_EQ(then.size() + (c.drawn ? 0 : 1), first.size());
  }
}

TEST_F(GraphDrawTest, GridIsDottedOnTheScreenAndDashedElsewhere) {
  run({"GRAPH"});
  RecordingDevice screen(721, 961), printer(721, 961);
  ASSERT_EQ(render_on(screen, output_screen), 0);
  ASSERT_EQ(render_on(printer, output_printer), 0);
  // The same grid: a whole line per tick on the screen, dashes of 6 and gaps
  // of 4 pixels (3 and 2 axis pens) elsewhere.
  const int screen_lines = count_of(screen.calls, "line_to");
  const int printer_lines = count_of(printer.calls, "line_to");
  EXPECT_GT(printer_lines, 10 * screen_lines / 2);
  const int first = index_of(printer.calls, "select_pen solid 1 0x808080");
  ASSERT_GE(first, 0);
  int x = 0, y0 = 0, y1 = 0, x2 = 0;
  ASSERT_EQ(std::sscanf(printer.calls[static_cast<std::size_t>(first + 1)].c_str(), "move_to %d %d", &x, &y0), 2);
  ASSERT_EQ(std::sscanf(printer.calls[static_cast<std::size_t>(first + 2)].c_str(), "line_to %d %d", &x2, &y1), 2);
  EXPECT_EQ(x, x2);
  EXPECT_EQ(y0, 2);  // from the top of the plot area
  EXPECT_EQ(y1 - y0, 6);
  ASSERT_EQ(std::sscanf(printer.calls[static_cast<std::size_t>(first + 3)].c_str(), "move_to %d %d", &x, &y1), 2);
  EXPECT_EQ(y1 - y0, 10);  // dash plus gap
}

TEST_F(GraphDrawTest, DefaultAxesNumbersAndZeroLines) {
  run({"GRAPH"});
  RecordingDevice dev(721, 961);
  ASSERT_EQ(render_on(dev, output_screen), 0);
  // No data: 0 .. 5 on both axes with 0 at the 0.2 inch title room; steps of 0.5.
  EXPECT_DOUBLE_EQ(axes.step_x.step, 0.5);
  EXPECT_DOUBLE_EQ(axes.step_y.step, 0.5);
  EXPECT_EQ(axes.xaxis_displaced, 0);
  EXPECT_EQ(axes.yaxis_displaced, 0);
  // The x axis: from the left to the right plot edge at the row of 0.
  const int row = render.plot_height_px - 1 - static_cast<int>(axes.xaxis_pos_px) + render.plot_top_px;
  EXPECT_GE(index_of(dev.calls, "move_to 2 " + std::to_string(row)), 0);
  EXPECT_GE(index_of(dev.calls, "line_to 718 " + std::to_string(row)), 0);
  // Numbers .5 .. 5 on the y axis, .5 .. 4.5 level on the x axis (5 would
  // stand out over the right edge), no 0 where the axes cross.
  std::vector<std::string> texts = dev.calls_starting("text_out");
  ASSERT_EQ(texts.size(), 19u);
  EXPECT_EQ(texts[0], "text_out 36 853 '.5'");  // right of the y axis, centred on its tick
  EXPECT_EQ(texts[9], "text_out 36 19 '5'");
  EXPECT_EQ(texts[10], "text_out 90 924 '.5'");  // above the x axis
  EXPECT_EQ(texts[18], "text_out 640 924 '4.5'");
  EXPECT_EQ(count_of(dev.calls, "select_font"), 1);  // never turned
}

TEST_F(GraphDrawTest, ZeroAxisOutsideTheViewIsDisplacedInLightRed) {
  run({"GRAPH includexaxis=0", "PLOT x=1, y=10", "PLOT x=2, y=20"});
  RecordingDevice dev(721, 961);
  ASSERT_EQ(render_on(dev, output_jpeg), 0);
  EXPECT_EQ(axes.xaxis_displaced, 1);
  EXPECT_GE(index_of(dev.calls, "select_pen solid 2 0x6464ff"), 0);
}

TEST_F(GraphDrawTest, BackgroundColourAndNoBorder) {
  run({"GRAPH bgcolor=(0,0,255), noborder, nogrid, noaxes"});
  RecordingDevice dev(721, 961);
  ASSERT_EQ(render_on(dev, output_screen), 0);
  EXPECT_EQ(dev.calls[1], "select_pen solid 0 0xff0000");
  EXPECT_EQ(dev.calls[2], "select_brush solid 0xff0000");
  EXPECT_EQ(dev.calls[3], "rectangle 0 0 721 961");
  EXPECT_EQ(render.plot_width_px, 721);
  EXPECT_EQ(count_of(dev.calls, "line_to"), 0);  // no grid, axes or frame
  EXPECT_EQ(count_of(dev.calls, "text_out"), 0);
}

TEST_F(GraphDrawTest, ScaleTooSmallStopsTheRender) {
  run({"GRAPH hscale=1e-306"});
  RecordingDevice dev(4501, 6001, 600, 600);  // a printer page: 600 / 1e-306 overflows
  EXPECT_EQ(graph_render(dev, output_printer, 0, 0, 4501, 6001, 600, 600), -1);
  EXPECT_EQ(host.calls.back(), "message Tovarelle Graph: Horizontal or Vertical Scale is too small");
  EXPECT_EQ(dev.calls, std::vector<std::string>{"end_path"});
}

TEST_F(GraphDrawTest, PaintTakesTheChangeFlag) {
  run({"GRAPH", "PLOT x=1, y=1"});
  EXPECT_EQ(graph.graph_changed, 1);
  graph_repaint_if_changed();
  EXPECT_EQ(host.invalidations, 1);
  RecordingDevice dev(721, 961);
  ASSERT_EQ(graph_paint(dev), 0);
  EXPECT_EQ(graph.graph_changed, 0);
  EXPECT_DOUBLE_EQ(render.screen_px_per_inch_x, 96);
  graph_repaint_if_changed();
  EXPECT_EQ(host.invalidations, 1);
}

TEST_F(GraphDrawTest, DebugZBoxOutlinesBothBoxes) {
  run({"GRAPH"});
  graph.zbox_ratio = 0.75;
  graph.screen_box_ratio = 0.5;
  RecordingDevice dev(721, 961);
  ASSERT_EQ(render_on(dev, output_screen), 0);
  const int blue = index_of(dev.calls, "select_pen solid 1 0xff0000");
  const int black = index_of(dev.calls, "select_pen solid 1 0x000000");
  ASSERT_GE(blue, 0);
  EXPECT_EQ(black, blue + 6);  // move_to and four line_to per box
  EXPECT_EQ(dev.calls[static_cast<std::size_t>(blue + 1)].rfind("move_to", 0), 0u);
}

TEST_F(GraphDrawTest, LogAxisDrawsDecadesAndTurnedNumbers) {
  run({"GRAPH hscaletype=log", "PLOT x=1, y=1", "PLOT x=1000, y=2"});
  RecordingDevice dev(721, 961);
  ASSERT_EQ(render_on(dev, output_screen), 0);
  EXPECT_GT(axes.log_ticks_x.count, 3);
  EXPECT_GE(index_of(dev.calls, "select_pen solid 1 0x606060"), 0);  // the major pen: 3/4 of the grid colour
  EXPECT_GE(index_of(dev.calls, "select_font 19 900 600"), 0);      // numbers turned on a log axis
  EXPECT_GE(index_of(dev.calls, "text_out") , 0);
  std::vector<std::string> texts = dev.calls_starting("text_out");
  EXPECT_NE(std::find_if(texts.begin(), texts.end(), [](const std::string& t) { return t.ends_with(" '1000'"); }),
            texts.end());
  // The plot line is drawn in log units: from 10^0 to 10^3.
  const int line = index_of(dev.calls, "polyline");
  ASSERT_GE(line, 0);
}

// A render of a log axis hands its steps to the program's variables of those
// names, and only where the program has them.
TEST_F(GraphDrawTest, LogAxisSetsTheTickVariablesTheProgramHas) {
  // 0.44 decades per inch: base step 0.5, mantissa steps 0.5, 1 and 2.
  run({"GRAPH hscaletype=log, hscale=0.44, hoffset=0", "PLOT x=1, y=1", "PLOT x=100, y=2"});
  RecordingDevice first(721, 961);
  ASSERT_EQ(render_on(first, output_screen), 0) << port.output;
  double v = 0;
  EXPECT_NE(get_named_var_double("tick_incr", &v), 0);  // not made by the render
  for (const char* name : {"tick_size_base", "tick_incr", "tick_incr_1", "tick_incr_2", "tick_incr_3",
                           "suppress_some_numbers"}) {
    ASSERT_EQ(execute_statement_text((std::string(name) + "=-1").c_str()), 0) << name;
  }
  RecordingDevice dev(721, 961);
  ASSERT_EQ(render_on(dev, output_screen), 0) << port.output;
  auto value = [](const char* name) {
    double found = 0;
    EXPECT_EQ(get_named_var_double(name, &found), 0) << name;
    return found;
  };
  EXPECT_DOUBLE_EQ(value("tick_size_base"), 0.5);
  EXPECT_DOUBLE_EQ(value("tick_incr"), 0.5);
  EXPECT_EQ(value("tick_incr_1"), 5);
  EXPECT_EQ(value("tick_incr_2"), 10);
  EXPECT_EQ(value("tick_incr_3"), 20);
  EXPECT_EQ(value("suppress_some_numbers"), 0);
}

// ---- date-time ticks (the zone is UTC in the unit tests) ----

double at(double y, double mo, double d, double h = 0, double mi = 0) {
  datetime_fields f{};
  f.year = y, f.month = mo, f.day = d, f.hour = h, f.minute = mi, f.dst = -1;
  return datetime_from_fields(f);
}

std::vector<std::string> labels(const datetime_tick_table& t, unsigned form) {
  std::vector<std::string> out;
  for (int i = 0; i < t.count; ++i)
    if ((t.ticks[i].flags & ~dt_tick_major) == form) out.push_back(axis_format_datetime_label(t.ticks[i], t));
  return out;
}

TEST_F(GraphDrawTest, DateTimeStepThresholds) {
  struct step_case {
    double unit, v;
    int month, day, hour, minute, second;
  };
  // v = units per tenth of the 7.5-inch size; each unit's step by its own v.
  const step_case cases[] = {
      {2592000, 1, 1, 32, 26, 61, 61}, {2592000, 2, 2, 32, 26, 61, 61}, {2592000, 4, 3, 32, 26, 61, 61},
      {2592000, 9, 6, 32, 26, 61, 61}, {2592000, 10, 12, 32, 26, 61, 61}, {86400, 2.9, 1, 2, 26, 61, 61},
      {86400, 7, 1, 5, 26, 61, 61},    {3600, 2.7, 1, 1, 2, 61, 61},      {3600, 5, 1, 1, 3, 61, 61},
      {60, 40, 1, 1, 1, 61, 61},       {60, 12, 1, 1, 1, 10, 61},         {1, 20, 1, 1, 1, 1, 15},
  };
  for (const step_case& c : cases) {
    datetime_steps s = axis_datetime_tick_steps(c.unit * c.v / 0.75, 7.5, 1);
    EXPECT_EQ(s.month, c.month) << c.unit << " " << c.v;
    EXPECT_EQ(s.day, c.day) << c.unit << " " << c.v;
    EXPECT_EQ(s.hour, c.hour) << c.unit << " " << c.v;
    EXPECT_EQ(s.minute, c.minute) << c.unit << " " << c.v;
    EXPECT_EQ(s.second, c.second) << c.unit << " " << c.v;
  }
  EXPECT_EQ(axis_datetime_tick_steps(70 / 0.75, 7.5, 1).fine.step, 30);  // 50 or more becomes 30
}

TEST_F(GraphDrawTest, ThreeYearsWithAMonthStepOfThree) {
  datetime_steps s = axis_datetime_tick_steps(3 * 2592000 / 0.75, 7.5, 1);
  ASSERT_EQ(s.month, 3);
  datetime_tick_table t;
  datetime_tick_fill(s, 1, at(2019, 12, 15), at(2022, 12, 15), t);
  // Year ticks start at or before the near edge.
  EXPECT_EQ(labels(t, dt_tick_year), (std::vector<std::string>{"Jan, 2019", "Jan, 2020", "Jan, 2021", "Jan, 2022"}));
  EXPECT_EQ(labels(t, dt_tick_month),
            (std::vector<std::string>{"Apr", "Jul", "Oct", "Apr", "Jul", "Oct", "Apr", "Jul", "Oct"}));
  EXPECT_TRUE(labels(t, dt_tick_day).empty());
  EXPECT_EQ(t.date_text, "");
}

TEST_F(GraphDrawTest, AViewInsideOneDaySharesItsDate) {
  datetime_steps s = axis_datetime_tick_steps(3600 / 0.75 * 2, 7.5, 1);
  datetime_tick_table t;
  datetime_tick_fill(s, 1, at(2021, 3, 5, 9, 30), at(2021, 3, 5, 15, 30), t);
  EXPECT_EQ(t.date_text, "Mar 5, 2021");
  EXPECT_TRUE(labels(t, dt_tick_year).empty());
  EXPECT_TRUE(labels(t, dt_tick_month).empty());
  EXPECT_TRUE(labels(t, dt_tick_day).empty());
  EXPECT_EQ(labels(t, dt_tick_hour), (std::vector<std::string>{"10:00", "12:00", "14:00"}));
}

TEST_F(GraphDrawTest, DateTicksAreCutAtAHundred) {
  datetime_steps s = axis_datetime_tick_steps(1 / 0.75, 7.5, 1);  // a tick every second
  ASSERT_EQ(s.second, 1);
  datetime_tick_table t;
  datetime_tick_fill(s, 1, at(2021, 3, 5, 9), at(2021, 3, 5, 10), t);
  EXPECT_EQ(t.count, max_datetime_ticks);
}

TEST_F(GraphDrawTest, YearsBeforeOneAreBcWithoutAYearZero) {
  datetime_steps s = axis_datetime_tick_steps(12 * 2592000 / 0.75 * 2, 7.5, 1);
  datetime_tick_table t;
  datetime_tick_fill(s, 1, at(-3, 6, 1), at(3, 6, 1), t);
  EXPECT_EQ(labels(t, dt_tick_year), (std::vector<std::string>{"3 BC", "2 BC", "1 BC", "1 AD", "2 AD", "3 AD"}));
}

// The local zone for one test; the interpreter's date constants are made
// again for it, and again for the zone before when the test ends.
class LocalZone {
 public:
  explicit LocalZone(const char* zone) {
    const char* old = std::getenv("TZ");
    had_ = old != nullptr;
    if (old) saved_ = old;
    setenv("TZ", zone, 1);
    started_ = init_interpreter_tables() == 0;
  }
  ~LocalZone() {
    if (had_) setenv("TZ", saved_.c_str(), 1);
    else unsetenv("TZ");
    init_interpreter_tables();
  }
  bool started() const { return started_; }

 private:
  bool had_ = false, started_ = false;
  std::string saved_;
};

// Ticks in a view that lies inside one whole second, and hour ticks on the
// days the clocks change (New York: forward on 14 March 2021, back on
// 7 November 2021), each as its label and its distance from the first
// time of the view's day (or minute) in seconds.
TEST_F(GraphDrawTest, DateTicksInsideASecondAndOnDaylightSavingDays) {
  struct tick {
    std::string label;
    double after;
  };
  struct tick_case {
    const char* zone;
    double year, month, day, hour, minute;  // the day's (or minute's) start
    double from, to;                        // the view, seconds after it
    double scale;                           // seconds per inch
    unsigned form;
    std::vector<tick> want;                 // the first ticks of that form
    int count;                              // how many of that form
  };
  auto hours = [](std::initializer_list<std::pair<int, double>> list) {
    std::vector<tick> out;
    char text[16];
    for (const auto& [h, after] : list) {
      std::snprintf(text, sizeof text, "%02d:00", h);
      out.push_back({text, after * 3600});
    }
    return out;
  };
  const double h1 = 3600 / 0.75, h2 = 2 * h1, h3 = 4 * h1;  // hour steps 1, 2 and 3
  const char* ny = "America/New_York";
  const tick_case cases[] = {
      // Points at 12.2 + i * 0.02 seconds: the view 12.2 to 12.58.
      {"UTC", 2021, 3, 5, 9, 30, 12.2, 12.58, 0.05 / 0.75, dt_tick_fine,
       {{"09:30:12.25", 12.25}, {"09:30:12.3", 12.3}, {"09:30:12.35", 12.35}}, 7},
      {ny, 2021, 3, 14, 0, 0, 1800, 23.5 * 3600, h1, dt_tick_hour, hours({{1, 1}, {3, 2}, {4, 3}, {5, 4}}), 22},
      {ny, 2021, 3, 14, 0, 0, 1800, 23.5 * 3600, h2, dt_tick_hour, hours({{2, 1}, {4, 3}, {6, 5}, {8, 7}}), 11},
      {ny, 2021, 3, 14, 0, 0, 1800, 23.5 * 3600, h3, dt_tick_hour, hours({{3, 2}, {6, 5}, {9, 8}}), 7},
      {ny, 2021, 11, 7, 0, 0, 1800, 24.5 * 3600, h1, dt_tick_hour, hours({{1, 1}, {1, 2}, {2, 3}, {3, 4}}), 24},
      {ny, 2021, 11, 7, 0, 0, 1800, 24.5 * 3600, h2, dt_tick_hour, hours({{2, 3}, {4, 5}, {6, 7}}), 11},
      {ny, 2021, 11, 7, 0, 0, 1800, 24.5 * 3600, h3, dt_tick_hour, hours({{3, 4}, {6, 7}, {9, 10}}), 7},
      // A view starting after the change still walks the day from 00:00.
      {ny, 2021, 11, 7, 0, 0, 2.5 * 3600, 12.5 * 3600, h2, dt_tick_hour, hours({{2, 3}, {4, 5}}), 5},
      {ny, 2021, 3, 14, 0, 0, 11.5 * 3600, 20 * 3600, h2, dt_tick_hour, hours({{14, 13}, {16, 15}}), 4},
  };
  for (const tick_case& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.month) + "/" + std::to_string(c.day) + " scale " +
                 std::to_string(c.scale));
    LocalZone zone(c.zone);
    ASSERT_TRUE(zone.started());
    const double start = at(c.year, c.month, c.day, c.hour, c.minute);
    datetime_tick_table t;
    datetime_tick_fill(axis_datetime_tick_steps(c.scale, 7.5, 1), 1, start + c.from, start + c.to, t);
    std::vector<tick> got;
    for (int i = 0; i < t.count; ++i)
      if ((t.ticks[i].flags & ~dt_tick_major) == c.form)
        got.push_back({axis_format_datetime_label(t.ticks[i], t), t.ticks[i].position - start});
    EXPECT_EQ(static_cast<int>(got.size()), c.count);
    for (std::size_t i = 0; i < c.want.size() && i < got.size(); ++i) {
      EXPECT_EQ(got[i].label, c.want[i].label) << i;
      EXPECT_NEAR(got[i].after, c.want[i].after, 1e-6) << i;
    }
    for (std::size_t i = 1; i < got.size(); ++i) EXPECT_GT(got[i].after, got[i - 1].after) << i;
  }
}

TEST_F(GraphDrawTest, DateTimeAxisRendersLabelsTurned) {
  run({"GRAPH hscaletype=datetime"});
  point_at("x=" + std::to_string(at(2021, 3, 5, 9)) + ", y=1");
  ASSERT_EQ(stmt_plot(), 0);
  point_at("x=" + std::to_string(at(2021, 3, 5, 17)) + ", y=2");
  ASSERT_EQ(stmt_plot(), 0);
  graph.graph_includeyaxis = 0;
  RecordingDevice dev(721, 961);
  ASSERT_EQ(render_on(dev, output_jpeg), 0);
  EXPECT_GT(datetime_ticks_x.count, 3);
  EXPECT_EQ(datetime_ticks_x.date_text, "Mar 5, 2021");
  EXPECT_GE(index_of(dev.calls, "select_font 19 900 600"), 0);
  EXPECT_GE(index_of(dev.calls, "text_out"), 0);
  std::vector<std::string> texts = dev.calls_starting("text_out");
  EXPECT_NE(std::find_if(texts.begin(), texts.end(), [](const std::string& t) { return t.ends_with(":00'"); }),
            texts.end());
}

// Log and date-time axes draw their ticks and numbers in every output mode,
// and "&date" in a date-time axis's title (its first occurrence only) stands
// for the date that the axis's visible ticks share.
TEST_F(GraphDrawTest, LogAndDateAxesInEveryOutputModeWithTheDateInTheTitle) {
  struct axes_case {
    const char* graph;
    bool dates_across;
  };
  const axes_case cases[] = {{"GRAPH hscaletype=datetime, vscaletype=log, includexaxis=0, includeyaxis=0", true},
                             {"GRAPH hscaletype=log, vscaletype=datetime, includexaxis=0, includeyaxis=0", false}};
  const int modes[] = {output_screen, output_printer, output_metafile, output_jpeg};
  for (const axes_case& c : cases) {
    SCOPED_TRACE(c.graph);
    graph_window_destroy();
    run({c.graph});
    const double t0 = at(2021, 3, 5, 9), t1 = at(2021, 3, 5, 17);
    const std::string first = c.dates_across ? "x=" + std::to_string(t0) + ", y=1" : "x=1, y=" + std::to_string(t0);
    const std::string last =
        c.dates_across ? "x=" + std::to_string(t1) + ", y=1000" : "x=1000, y=" + std::to_string(t1);
    run({"PLOT " + first, "PLOT " + last});
    point_at(c.dates_across ? "xaxis, string=\"Time &date (&date)\"" : "yaxis, string=\"Time &date (&date)\"");
    ASSERT_EQ(stmt_text(), 0) << port.output;
    point_at(c.dates_across ? "yaxis, string=\"Volts &date\"" : "xaxis, string=\"Volts &date\"");
    ASSERT_EQ(stmt_text(), 0) << port.output;
    for (int mode : modes) {
      SCOPED_TRACE(mode);
      RecordingDevice dev(721, 961);
      ASSERT_EQ(render_on(dev, mode), 0) << port.output;
      const datetime_tick_table& dates = c.dates_across ? datetime_ticks_x : datetime_ticks_y;
      EXPECT_GT(dates.count, 3);
      EXPECT_GT(c.dates_across ? axes.log_ticks_y.count : axes.log_ticks_x.count, 3);
      const std::vector<std::string> texts = dev.calls_starting("text_out");
      auto drawn = [&](const std::string& tail) {
        return std::find_if(texts.begin(), texts.end(), [&](const std::string& t) { return t.ends_with(tail); }) !=
               texts.end();
      };
      EXPECT_TRUE(drawn(" 'Time Mar 5, 2021 (&date)'"));
      EXPECT_TRUE(drawn(" 'Volts &date'"));  // a log axis has no date
      EXPECT_TRUE(drawn(" '1000'"));
      EXPECT_TRUE(drawn(":00'"));
    }
  }
}

}  // namespace
