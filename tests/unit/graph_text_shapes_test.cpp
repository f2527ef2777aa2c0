// Text shapes, SHAPE CHAROUTLINE and PLOTCHAROUTLINE through the SHAPE
// statement, with the fake font engine (a 100-unit "A" is 48 x 70 at (1, 70)
// with one contour of a line pair and a cubic, advance 50; a blank has no
// outline).
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

#include "graph_test_support.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "graph/shape_draw.h"
#include "graph/shapes.h"
#include "graph/text_shapes.h"
#include "interpreter/functions.h"
#include "interpreter/run_control.h"
#include "interpreter/statements.h"
#include "tests/support/fake_graph_host.h"
#include "tests/support/recording_device.h"

namespace {

class TextShapeTest : public GraphWindowTest {
 protected:
  FakeFontEngine fonts;  // no glyph for "Q"

  void SetUp() override {
    GraphWindowTest::SetUp();
    fonts.no_glyph = "Q";
    install_graph_font_engine(&fonts);
    point_at("width=7.5, height=7.5, hscale=1, vscale=1, hoffset=0, voffset=0, grid=0, axes=0, border=0");
    ASSERT_EQ(stmt_graph(), 0) << port.output;
    shape_table_reset();
  }
  int shape(const std::string& args) {
    point_at(args);
    return stmt_shape();
  }
  void dim(const std::string& args) {
    point_at(args);
    ASSERT_EQ(stmt_dim(), 0) << port.output;
  }
  graph_point array_point(const char* name, int i) {
    const array_entry& a = array_table[find_array(name)];
    return {a.data[2 * i].number, a.data[2 * i + 1].number};
  }
  std::uint32_t rows(const char* name) { return array_table[find_array(name)].dimension_sizes[0]; }
  // A screen render on dev, whose fonts are made like the fixture's.
  void render_on(RecordingDevice& dev) {
    dev.fonts.no_glyph = fonts.no_glyph;
    dev.fonts.empty_glyph = fonts.empty_glyph;
    ASSERT_EQ(graph_render(dev, output_screen, 0, 0, dev.width_px(), dev.height_px(), 96, 96), 0) << port.output;
  }
  shape_record& rec(int i) { return shapes.records[static_cast<std::size_t>(i)]; }
  // A path group of the given SHAPE statements after BEGINPATH, rendered on dev.
  void render_group(RecordingDevice& dev, std::initializer_list<const char*> statements) {
    ASSERT_EQ(shape("beginpath"), 0) << port.output;
    for (const char* s : statements) ASSERT_EQ(shape(s), 0) << s << port.output;
    render_on(dev);
  }
};

TEST_F(TextShapeTest, CharOutlineWritesThePointArrayAndPlotCharOutlineDrawsItAgain) {
  dim("a(2,2)");
  ASSERT_EQ(shape("left=0, right=5, bottom=0, top=10, characters=\"AB\", polypoints=a(), charoutline"), 0)
      << port.output;
  EXPECT_EQ(shapes.shape_count, 0);  // the CHAROUTLINE record never stays
  ASSERT_EQ(rows("a"), 15u);  // entry 0, 9 contour entries, 5 trailing
  auto near = [](graph_point p, double x, double y) { return std::fabs(p.x - x) < 1e-9 && std::fabs(p.y - y) < 1e-9; };
  EXPECT_TRUE(near(array_point("a", 0), 1, 10));
  EXPECT_TRUE(near(array_point("a", 2), 0.1, 0));   // the start point
  EXPECT_TRUE(near(array_point("a", 6), 3, 3));     // a cubic of three points
  EXPECT_TRUE(near(array_point("a", 10), 5, 0));    // the pen after "A"
  EXPECT_TRUE(near(array_point("a", 11), 0.1, 0));  // box corners
  EXPECT_TRUE(near(array_point("a", 13), 4.9, 7));

  ASSERT_EQ(shape("polypoints=a(), plotcharoutline"), 0) << port.output;
  RecordingDevice dev(721, 721);
  render_on(dev);
  EXPECT_EQ(dev.calls_starting("begin_path").size(), 1u);
  EXPECT_EQ(dev.calls_starting("poly_bezier_to").size(), 1u);
  EXPECT_EQ(dev.calls_starting("stroke_and_fill_path").size(), 1u);
}

TEST_F(TextShapeTest, CharOutlineOfABlankAndWithoutAnArray) {
  dim("a(2,2)");
  ASSERT_EQ(shape("left=0, right=50, bottom=0, top=100, characters=\" A\", polypoints=a(), charoutline"), 0);
  ASSERT_EQ(rows("a"), 6u);
  EXPECT_EQ(array_point("a", 0), (graph_point{0, 0}));
  EXPECT_EQ(array_point("a", 1), (graph_point{50, 0}));  // the pen after the blank
  for (int i = 2; i < 6; ++i) EXPECT_EQ(array_point("a", i), (graph_point{0, 0}));
  point_at("b(2,3)");
  ASSERT_EQ(stmt_dim(), 0);
  ASSERT_EQ(shape("reset"), 0) << port.output;
  EXPECT_EQ(shape("characters=\"A\", charoutline"), -287);  // no POLYPOINTS array
}

TEST_F(TextShapeTest, PlotCharOutlineReadsOnlyWithinItsCount) {
  // A contour claiming 9 curves and a cubic of 4 points: drawn in whole
  // groups of three, and nothing is read past the array's 10 used points.
  dim("a(10,2)");
  const double v[10][2] = {{1, 9}, {9, 0}, {0, 0}, {4, 3}, {1, 1}, {2, 2}, {3, 0}, {4, 4}, {0, 0}, {0, 0}};
  for (int i = 0; i < 10; ++i) {
    array_table[find_array("a")].data[2 * i].number = v[i][0];
    array_table[find_array("a")].data[2 * i + 1].number = v[i][1];
  }
  if (shape("polypoints=a(), plotcharoutline") == 0) {
    RecordingDevice dev(721, 721);
    render_on(dev);
    EXPECT_LE(dev.calls_starting("poly_bezier_to").size(), 1u);
  }
}

TEST_F(TextShapeTest, TextShapesAreMeasuredOnceJustifiedAndBlankedWhereNoGlyph) {
  ASSERT_EQ(shape("left=1, right=2, bottom=1, top=3, characters=\"AQB\", text"), 0) << port.output;
  RecordingDevice dev(721, 721);
  render_on(dev);
  EXPECT_EQ(rec(0).outline_measured, 1);
  // Scales: 2 / 1000 up, 1 / 500 across; "A" starts at 1 + 10 / 500.
  EXPECT_NEAR(rec(0).box_x_min, 1.002, 1e-9);
  EXPECT_NEAR(rec(0).box_y_max, 1 + 700 * 0.002, 1e-9);
  EXPECT_STREQ(rec(0).characters, "A B");                 // no "Q" in this face: a blank from now on
  EXPECT_EQ(dev.calls_starting("begin_path").size(), 2u);  // two glyphs, each its own path
  // Right-justified: the text ends at the left edge.
  ASSERT_EQ(shape("left=5, right=6, bottom=1, top=3, justify=right, characters=\"AB\", text"), 0) << port.output;
  RecordingDevice dev2(721, 721);
  render_on(dev2);
  EXPECT_NEAR(rec(1).box_x_max, 4.998, 1e-9);  // starts at 5 - 2, "B" at 4 to 4 + 499 x 0.002
}

// A character whose glyph has no contours (byte 0xE9 here, asked for as the
// unsigned 233) takes its cell and the text goes on after it, in the text
// shape, in the older routine and as CHAROUTLINE's first character.
TEST_F(TextShapeTest, EmptyGlyphsAdvanceAndTheTextGoesOn) {
  fonts.empty_glyph = "\xE9";
  ASSERT_EQ(shape("left=1, right=2, bottom=1, top=3, characters=\"A\"+CHR$(233)+\"B\", text"), 0) << port.output;
  RecordingDevice dev(721, 721);
  render_on(dev);
  EXPECT_NE(dev.fonts.outlined.find('\xE9'), std::string::npos);
  EXPECT_EQ(dev.calls_starting("begin_path").size(), 2u);
  EXPECT_NEAR(rec(0).box_x_max, 3 + 499 * 0.002, 1e-9);  // "B" two cells on
  ASSERT_EQ(execute_statement_text("old_shape_text=1"), 0);
  RecordingDevice old(721, 721);
  render_on(old);
  EXPECT_EQ(old.calls_starting("begin_path").size(), 2u);
  ASSERT_EQ(execute_statement_text("old_shape_text=0"), 0);

  dim("a(2,2)");
  ASSERT_EQ(shape("left=0, right=50, bottom=0, top=100, characters=CHR$(233)+\"A\", polypoints=a(), charoutline"), 0)
      << port.output;
  ASSERT_EQ(rows("a"), 6u);
  EXPECT_EQ(array_point("a", 0), (graph_point{0, 0}));
  EXPECT_EQ(array_point("a", 1), (graph_point{50, 0}));  // the pen after its cell
}

// The pixel box of everything drawn between the first begin_path and the
// end_path after it (control points included); its width over its height.
double drawn_aspect(const RecordingDevice& dev) {
  double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
  bool in = false;
  for (const std::string& c : dev.calls) {
    if (c == "begin_path") in = true;
    if (c == "end_path" && in) break;
    if (!in) continue;
    std::istringstream words(c);
    std::string word;
    words >> word;
    if (word == "move_to" || word == "line_to") {
      double x, y;
      words >> x >> y;
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      continue;
    }
    while (words >> word) {
      double x, y;
      if (std::sscanf(word.c_str(), "%lf,%lf", &x, &y) != 2) continue;
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  }
  return y1 > y0 ? (x1 - x0) / (y1 - y0) : 0;
}

// With PROPFONTS a glyph keeps its own proportions on the screen whatever
// the two scales; without, it is stretched with the data units. The fake
// 1000-unit "A" is 498 wide and 702 high with its control points.
TEST_F(TextShapeTest, PropFontsKeepTheGlyphsProportionsOnTheScreen) {
  point_at("hscale=2");  // two units per inch across, one up
  ASSERT_EQ(stmt_graph(), 0) << port.output;
  ASSERT_EQ(shape("left=1, right=1, bottom=1, top=3, characters=\"A\", propfonts, text"), 0) << port.output;
  RecordingDevice prop(721, 721);
  render_on(prop);
  EXPECT_NEAR(drawn_aspect(prop), 498.0 / 702, 0.01);
  ASSERT_EQ(shape("reset"), 0);
  shape_table_reset();
  ASSERT_EQ(shape("left=1, right=1, bottom=1, top=3, characters=\"A\", text"), 0) << port.output;
  RecordingDevice plain(721, 721);
  render_on(plain);
  EXPECT_NEAR(drawn_aspect(plain), 498.0 / 702 / 2, 0.01);
  // On a logarithmic vertical axis the height is counted in decades.
  shape_table_reset();
  point_at("vscaletype=log, vscale=1, voffset=0");
  ASSERT_EQ(stmt_graph(), 0) << port.output;
  ASSERT_EQ(shape("left=1, right=1, bottom=1, top=100, characters=\"A\", propfonts, text"), 0) << port.output;
  RecordingDevice log_dev(721, 721);
  render_on(log_dev);
  EXPECT_NEAR(drawn_aspect(log_dev), 498.0 / 702, 0.01);
  EXPECT_NEAR(rec(0).box_y_max, std::pow(10.0, 1.4), 1e-9);  // the glyph top, 700 units up, in data units
}

// Text shapes are measured before the automatic scaling, so the view takes
// in glyphs that lie far from everything else.
TEST_F(TextShapeTest, TextShapesWidenTheAutomaticScales) {
  point_at("hscale=0, vscale=0");
  ASSERT_EQ(stmt_graph(), 0) << port.output;
  ASSERT_EQ(shape("left=20, right=20, bottom=30, top=40, characters=\"AA\", text"), 0) << port.output;
  EXPECT_EQ(shapes.text_shapes_changed, 1);
  RecordingDevice dev(721, 721);
  render_on(dev);
  EXPECT_EQ(shapes.text_shapes_changed, 0);
  const shape_record& s = rec(0);
  ASSERT_EQ(s.outline_measured, 1);
  EXPECT_GE(graph.data_x_max, s.box_x_max);
  EXPECT_GE(graph.data_y_max, s.box_y_max);
  EXPECT_LE(render.zbox.x_min, s.box_x_min);
  EXPECT_GE(render.zbox.x_max, s.box_x_max);
  EXPECT_LE(render.zbox.y_min, s.box_y_min);
  EXPECT_GE(render.zbox.y_max, s.box_y_max);
  EXPECT_EQ(dev.calls_starting("begin_path").size(), 2u);  // both glyphs are in view
  // A changed text or face keeps the extent measured first: the scales stay.
  const double x_max = graph.data_x_max, box_x_max = s.box_x_max;
  const view_box zbox = render.zbox;
  for (const char* change : {"0, characters=\"AAAAAAAAAAAA\"", "0, font=\"Other\"", "0, bold=700"}) {
    point_at(change);
    ASSERT_EQ(stmt_changeshape(), 0) << change << port.output;
    RecordingDevice again(721, 721);
    render_on(again);
    EXPECT_EQ(s.outline_measured, 1) << change;
    EXPECT_EQ(s.box_x_max, box_x_max) << change;
    EXPECT_EQ(graph.data_x_max, x_max) << change;
    EXPECT_EQ(render.zbox.x_max, zbox.x_max) << change;
  }
}

TEST_F(TextShapeTest, TextShapesInAPathGroupJoinTheGroupsPath) {
  RecordingDevice dev(721, 721);
  render_group(dev, {"left=1, right=2, bottom=1, top=3, characters=\"AB\", text",
                     "left=1, right=4, bottom=1, top=4, rectangle", "strokefill"});
  EXPECT_EQ(dev.calls_starting("begin_path").size(), 1u);
  EXPECT_EQ(dev.calls_starting("end_path").size(), 2u);  // the render's own first, then the group's
}

// A glyph contour's start point only becomes the current point: a figure
// left open before the text in the group is not joined to it by a line.
TEST_F(TextShapeTest, TextInAPathGroupStartsItsOwnFigures) {
  RecordingDevice dev(721, 721);
  render_group(dev, {"linestart=(1,1), lineend=(2,1), line",
                     "left=4, right=5, bottom=4, top=6, characters=\"A\", text", "stroke"});
  // The calls between the group's path start and its end.
  std::vector<std::string> path;
  bool in = false;
  for (const std::string& c : dev.calls) {
    if (c == "begin_path") in = true, path.clear();
    else if (c == "end_path") in = false;
    else if (in) path.push_back(c);
  }
  ASSERT_GE(path.size(), 4u);
  // The line: a move and its one segment; the glyph starts with a move and
  // closes its own contour, never drawing back to the line's start.
  EXPECT_EQ(path[0].rfind("move_to", 0), 0u) << path[0];
  EXPECT_EQ(path[1].rfind("polyline_to", 0), 0u) << path[1];
  EXPECT_EQ(path[2].rfind("move_to", 0), 0u) << path[2];
  std::string line_start = path[0].substr(std::string("move_to ").size());
  line_start[line_start.find(' ')] = ',';  // as a point of a polyline call
  int moves = 0;
  for (std::size_t i = 1; i < path.size(); ++i) {
    moves += path[i].rfind("move_to", 0) == 0;
    EXPECT_EQ(path[i].find(line_start), std::string::npos) << path[i];
  }
  EXPECT_EQ(moves, 1);  // the glyph's single contour
}

}  // namespace
