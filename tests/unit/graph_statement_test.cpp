// The GRAPH and PLOT statements through the interpreter's scanner, with the
// fake graph host standing in for the window.
#include <cfloat>
#include <cmath>
#include <functional>
#include <numbers>

#include "graph_test_support.h"
#include "graph/graph_params.h"
#include "graph/graph_state.h"
#include "graph/graph_statement.h"
#include "graph/graph_window.h"
#include "graph/plot.h"
#include "interpreter/functions.h"
#include "interpreter/statements.h"
#include "tests/support/fake_graph_host.h"

namespace {

class GraphStatementTest : public GraphWindowTest {
 protected:
  // Runs GRAPH with the keyword list args; its result.
  int graph_stmt(const std::string& args) { return run_statement(stmt_graph, args); }
  int plot_stmt(const std::string& args) { return run_statement(stmt_plot, args); }
  const plot_record& plot(int i) { return *graph_elements.entries[static_cast<std::size_t>(i)].record; }
};

TEST_F(GraphStatementTest, FirstGraphOpensTheWindowWithDefaultsAndASecondEmptyOneIsRefused) {
  EXPECT_EQ(graph_stmt(""), 0);
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0], "open 721 961");  // 7.5 x 10 inches at 96 pixels per inch
  EXPECT_EQ(graph_window_is_open(), 1);
  EXPECT_EQ(graph.graph_width, 7.5);
  EXPECT_EQ(graph_elements.entries.size(), 100u);
  EXPECT_EQ(graph_stmt(""), -250);
  EXPECT_TRUE(reported("Graph already active."));
}

TEST_F(GraphStatementTest, ConsoleModeAndAMissingDisplayAreRefused) {
  console_mode = 1;
  EXPECT_EQ(graph_stmt("grid"), -274);
  console_mode = 0;
  host.refuse_open = true;
  EXPECT_EQ(graph_stmt(""), -255);
  EXPECT_EQ(graph_window_is_open(), 0);
  EXPECT_TRUE(graph_elements.entries.empty());
}

// Without a window: the statement's result and what it leaves in the state.
TEST_F(GraphStatementTest, KeywordTable) {
  struct graph_case {
    const char* args;
    int result;  // -1: ended quietly after the colour parser reported `reported`
    std::function<bool()> check;
    int reported = 0;
  };
  const graph_case cases[] = {
      {"landscape, width=8", 0, [] { return graph.graph_width == 8 && graph.graph_height == 7.5; }},
      {"width=8, landscape", 0, [] { return graph.graph_width == 10 && graph.graph_height == 7.5; }},
      {"width=0, height=3", 0, [] { return graph.graph_width == 7.5 && graph.graph_height == 3; }},
      {"width=-1", -252, [] { return graph.graph_width == 7.5; }},
      {"width=1e9", -252, [] { return graph.graph_width == 7.5; }},
      {"hscale=2, hoffset=3", 0, [] { return graph.graph_hscale == 2 && graph.graph_hoffset == 3; }},
      {"hoffset=3, hscale=2", 0, [] { return graph.graph_hscale == 2 && graph.graph_hoffset == 3; }},
      {"hscale=1e-307", -252, [] { return graph.graph_hscale == 0; }},
      {"hscale=1e-306", 0, [] { return graph.graph_hscale == 1e-306; }},
      {"vscale=1e308", -252, [] { return graph.graph_vscale == 0; }},
      {"includexaxis=0.5", -252, [] { return graph.graph_includexaxis == 1; }},
      {"includexaxis=0, numberyaxis=0", 0,
       [] { return graph.graph_includexaxis == 0 && graph.graph_numberyaxis == 0; }},
      {"axisweight=10.5", -252, [] { return graph.graph_axisweight == 1.5; }},
      {"clearance=0.25, axisweight=0", 0, [] { return graph.graph_clearance == 0.25 && graph.graph_axisweight == 0; }},
      {"bgcolor=(255,0,0)", 0, [] { return graph.graph_bgcolor == 255; }},
      {"gridcolor=(0,0,255), axiscolor=65280", 0,
       [] { return graph.graph_gridcolor == 0xFF0000 && graph.graph_axiscolor == 0x00FF00; }},
      {"bgcolor=(1,2)", -1, [] { return graph.graph_bgcolor == 0xFFFFFF; }, 145},
      {"bgcolor=()", -1, [] { return true; }, 193},
      {"bgcolor=(0,256,0)", -1, [] { return true; }, 252},
      {"bgcolor=16777216", -1, [] { return graph.graph_bgcolor == 0xFFFFFF; }, 276},
      {"bgcolor=-1", -1, [] { return true; }, 276},
      {"hscaletype=log", 0,
       [] { return graph.graph_hscale_log == 1 && graph.graph_hlimit_min == log_limit_min; }},
      {"vscaletype=DATETIME", 0,
       [] { return graph.graph_vscale_datetime == 1 && graph.graph_vlimit_max == datetime_limit; }},
      {"hscaletype=cubic", -252, [] { return graph.graph_hscale_log == 0; }},
      {"frobnicate", -249, [] { return true; }},
      {"width 8", -251, [] { return true; }},
      {"end, print", -254, [] { return true; }},
      {"grid, end", -254, [] { return true; }},
      {"print", -253, [] { return true; }},
      {"jpeg, maximize", -253, [] { return true; }},
      {"listparms", -263, [] { return true; }},
      // The offset/scale check restores that axis's requested values.
      {"hscale=1, hoffset=200000000", -262,
       [] { return graph.graph_hscale == 0 && graph.graph_hoffset == 0 && !graph_window_is_open(); }},
      {"vscaletype=datetime, vscale=1, voffset=2e15", -296, [] { return graph.graph_vscale == 0; }},
      // Switches hold at once; values only after the whole list checks.
      {"nogrid, width=5, clearance=1", -252,
       [] { return graph.graph_grid == 0 && graph.graph_width == 7.5 && !graph_window_is_open(); }},
      {"equalscales, hscale=0", 0,
       [] {
         return graph.graph_equalscales == 1 && graph.graph_hscale == 0 && graph.graph_vscale == 0 &&
                graph.graph_hoffset == 0 && graph.graph_voffset == 0;
       }},
      {"equalscales, hscale=3", 0, [] { return graph.graph_hscale == 3 && graph.graph_vscale == 3; }},
      {"hscaletype=log, equalscales", 0, [] { return graph.graph_equalscales == 1; }},
  };
  for (const graph_case& c : cases) {
    graph_window_destroy();
    port.output.clear();
    EXPECT_EQ(graph_stmt(c.args), c.result) << c.args << "\n" << port.output;
    EXPECT_TRUE(c.check()) << c.args;
    if (c.reported) {
      EXPECT_TRUE(reported_code(c.reported)) << c.args << "\n" << port.output;
    }
  }
}

TEST_F(GraphStatementTest, EqualScalesIsIgnoredOnALogAxis) {
  ASSERT_EQ(graph_stmt("vscaletype=log"), 0);
  EXPECT_EQ(graph_stmt("equalscales"), -250);
  EXPECT_EQ(graph.graph_equalscales, 0);
}

TEST_F(GraphStatementTest, OnAnOpenWindowSettingsApplyAndActionsStandAlone) {
  ASSERT_EQ(graph_stmt("hscale=2"), 0);
  host.invalidations = 0;
  EXPECT_EQ(graph_stmt("nogrid, noborder, hscale=4"), 0);
  EXPECT_EQ(graph.graph_hscale, 4);
  EXPECT_FALSE(host.ticks[graph_menu_grid]);
  EXPECT_FALSE(host.ticks[graph_menu_border]);
  EXPECT_TRUE(host.ticks[graph_menu_axes]);
  EXPECT_EQ(graph.graph_changed, 1);
  EXPECT_EQ(host.invalidations, 1);
  EXPECT_EQ(graph_stmt("width=5"), 0);
  EXPECT_EQ(host.calls.back(), "resize 481 961");
  EXPECT_EQ(graph_stmt("maximize"), 0);
  EXPECT_EQ(host.maximized, 1);
  EXPECT_EQ(graph_stmt("end, grid"), -254);
  EXPECT_EQ(graph_stmt("end, maximize"), 0);
  EXPECT_EQ(graph_window_is_open(), 0);
  EXPECT_EQ(host.calls.back(), "close");
  EXPECT_EQ(graph.graph_hscale, 0);  // the state is back at its defaults
  EXPECT_EQ(graph.graph_grid, 1);
}

TEST_F(GraphStatementTest, ExportFailureEndsTheStatementAsAnError) {
  ASSERT_EQ(graph_stmt(""), 0);
  EXPECT_LT(graph_stmt("jpeg"), 0);
  EXPECT_NE(port.output.find("ERROR - "), std::string::npos);
}

TEST_F(GraphStatementTest, ListParmsPrintsTheSettingsInForce) {
  ASSERT_EQ(graph_stmt("hscale=2, vmargin=1, equalscales"), 0);
  port.output.clear();
  EXPECT_EQ(graph_stmt("listparms"), 0);
  EXPECT_EQ(port.output,
            "GRAPH parameters currently in effect:\n"
            "   GRID\n"
            "   AXES\n"
            "   BORDER\n"
            "   EQUALSCALES\n"
            "   IncludeXAxis =      1\n"
            "   IncludeYAxis =      1\n"
            "   NumberXAxis =      1\n"
            "   NumberYAxis =      1\n"
            "   Height       =         10 in.\n"
            "   Width        =        7.5 in.\n"
            "   HScaleType   =      Linear\n"
            "   HScale       =          2 data units/in. \n"
            "   VScaleType   =      Linear\n"
            "   VScale       =          0 data units/in. (automatic)\n"
            "                       0 data units/in. (calculated).\n"
            "   HOffset      =          0 data units (automatic)\n"
            "                         0 data units (calculated).\n"
            "   VOffset      =          0 data units (automatic)\n"
            "                         0 data units (calculated).\n"
            "   HMargin      =         -1 in. (centered)\n"
            "   VMargin      =          1 in. \n"
            "   AxisWeight   =       1.5 points.\n"
            "   Clearance    =       0.1 in.\n");
}

TEST_F(GraphStatementTest, OnlyParsingChecksButChangesNothing) {
  no_execute = 1;
  EXPECT_EQ(graph_stmt("width=3, nogrid"), 0);
  EXPECT_EQ(graph_stmt("frobnicate"), -249);
  no_execute = 0;
  EXPECT_EQ(graph.graph_grid, 1);
  EXPECT_EQ(graph_window_is_open(), 0);
}

TEST_F(GraphStatementTest, AnglesByMode) {
  struct angle_case {
    int degrees;
    double value;
    int result;
    double radians;
  };
  const double pi = std::numbers::pi;
  const angle_case cases[] = {
      {1, -90, 0, 3 * pi / 2}, {1, 3600, 0, 0}, {1, 3601, -252, 0},     {1, 720 + 45, 0, pi / 4},
      {0, -pi / 2, 0, 1.5 * pi}, {0, 20 * pi, 0, 0}, {0, 63, -252, 0}, {0, NAN, -252, 0},
  };
  for (const angle_case& c : cases) {
    degrees_mode = c.degrees;
    double_accumulator = c.value;
    EXPECT_EQ(graph_parse_angle(), c.result) << c.value;
    if (c.result == 0) {
      EXPECT_NEAR(double_accumulator, c.radians, 1e-12) << c.value;
    }
  }
}

TEST_F(GraphStatementTest, PlotNeedsTheWindowAndChecksItsParameters) {
  EXPECT_EQ(plot_stmt("x=1, y=2"), -257);
  ASSERT_EQ(graph_stmt(""), 0);
  const std::pair<const char*, int> cases[] = {
      {"lineweight=11", -252}, {"smooth=-1", -252}, {"frob=1", -258}, {"x 1", -251}, {"7", -258},
  };
  for (const auto& [args, result] : cases) EXPECT_EQ(plot_stmt(args), result) << args;
  EXPECT_EQ(plot_stmt("x=1"), -264);  // starts an empty plot, then refuses
  EXPECT_EQ(graph_elements.graph_element_count, 1);
  EXPECT_EQ(plot(0).points.size(), 0u);
}

TEST_F(GraphStatementTest, PlotsInsertInSortOrderAndStartWithAttributes) {
  ASSERT_EQ(graph_stmt(""), 0);
  ASSERT_EQ(plot_stmt("sortedy, x=1, y=5"), 0);
  ASSERT_EQ(plot_stmt("x=2, y=3"), 0);
  ASSERT_EQ(plot(0).points.size(), 2u);
  EXPECT_EQ(plot(0).points[0].x, 2);
  EXPECT_EQ(plot(0).points[1].x, 1);
  // Equal keys keep the order given; linetype adds to the current plot.
  ASSERT_EQ(plot_stmt("color=(255,0,0), lineweight=1, x=1, y=1"), 0);
  ASSERT_EQ(plot_stmt("linetype=2, x=1, y=2"), 0);
  ASSERT_EQ(plot_stmt("x=0, y=3"), 0);
  ASSERT_EQ(graph_elements.graph_element_count, 2);
  const plot_record& p = plot(1);
  EXPECT_EQ(p.color, 255u);
  EXPECT_EQ(p.lineweight, 1);
  ASSERT_EQ(p.points.size(), 3u);
  EXPECT_EQ(p.points[0].y, 3);
  EXPECT_EQ(p.points[1].y, 1);
  EXPECT_EQ(p.points[2].y, 2);
  ASSERT_EQ(plot_stmt("type=2, x=1, y=1"), 0);  // type starts a new plot
  EXPECT_EQ(graph_elements.graph_element_count, 3);
  ASSERT_EQ(plot_stmt("unsorted, x=5, y=7"), 0);
  EXPECT_EQ(graph.data_extents_valid, 1);
  EXPECT_EQ(graph.data_x_max, 5);
  EXPECT_EQ(graph.graph_changed, 1);
}

TEST_F(GraphStatementTest, InfinitiesAreStoredAtTheirStandIns) {
  ASSERT_EQ(graph_stmt(""), 0);
  ASSERT_EQ(plot_stmt(""), 0);
  EXPECT_EQ(plot_add_point(INFINITY, -INFINITY), 0);
  EXPECT_EQ(plot_add_point(NAN, 1), 0);
  EXPECT_EQ(plot(0).points[0].x, 0);
  EXPECT_EQ(plot(0).points[1].x, 21474000.0);
  EXPECT_EQ(plot(0).points[1].y, -21474000.0);
}

TEST_F(GraphStatementTest, TablesGrowAndFill) {
  ASSERT_EQ(graph_stmt(""), 0);
  ASSERT_EQ(plot_stmt(""), 0);
  for (int i = 0; i < 51; ++i) ASSERT_EQ(plot_add_point(i, i), 0);
  EXPECT_EQ(plot(0).points.capacity(), 100u);
  for (int i = 1; i < 100; ++i) ASSERT_EQ(plot_stmt(""), 0);
  EXPECT_EQ(plot_stmt("color=255"), -260);
  EXPECT_EQ(graph_elements.current_plot, -1);
  EXPECT_EQ(graph_elements.graph_element_count, 100);
}

TEST_F(GraphStatementTest, LogAxesRefuseZeroAndNegativePoints) {
  ASSERT_EQ(graph_stmt(""), 0);
  ASSERT_EQ(plot_stmt("x=0, y=1"), 0);
  EXPECT_EQ(graph_stmt("hscaletype=log"), -265);
  EXPECT_EQ(graph.graph_hscale_log, 0);
  EXPECT_EQ(graph.graph_hlimit_min, -DBL_MAX);
  ASSERT_EQ(graph_stmt("vscaletype=log"), 0);
  EXPECT_NEAR(plot(0).points[0].log_y, 0, 0);
  EXPECT_EQ(plot_stmt("x=1, y=-1"), -265);
  EXPECT_EQ(plot(0).points.size(), 1u);
  ASSERT_EQ(plot_stmt("x=2, y=100"), 0);
  EXPECT_EQ(plot(0).points[1].log_y, 2);
}

}  // namespace
