// The shape statements, the shape table, the drawing of each kind on the
// recording device, and the hit test, through the interpreter's scanner with
// the fake graph host standing in for the window.
#include <cmath>
#include <functional>
#include <cstring>
#include <sstream>

#include "graph_test_support.h"
#include "graph/graph_draw.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "graph/scales.h"
#include "graph/shape_draw.h"
#include "graph/shape_geometry.h"
#include "graph/shape_hit_probe.h"
#include "graph/shape_statements.h"
#include "graph/shapes.h"
#include "interpreter/debugging.h"
#include "interpreter/functions.h"
#include "interpreter/keywords.h"
#include "interpreter/named_vars.h"
#include "interpreter/run_control.h"
#include "interpreter/statements.h"
#include "tests/support/fake_graph_host.h"
#include "tests/support/recording_device.h"

namespace {

constexpr double pi = shape_pi;

class ShapeTest : public GraphWindowTest {
 protected:
  int run(int (*stmt)(), const std::string& args) { return run_statement(stmt, args); }
  int shape(const std::string& args) { return run(stmt_shape, args); }
  int change(const std::string& args) { return run(stmt_changeshape, args); }
  int graph_stmt(const std::string& args) { return run(stmt_graph, args); }
  // Opens a graph whose view is 0..10 in x and y (one unit per 0.72 inch).
  void open_graph() {
    ASSERT_EQ(graph_stmt("width=7.5, height=7.5, hscale=1, vscale=1, hoffset=0.001, voffset=0.001, grid=0, axes=0, border=0"), 0);
  }
  shape_record& rec(int i) { return shapes.records[static_cast<std::size_t>(i)]; }
  double lastshapeid() const { return predefined_variables[PREDEF_LASTSHAPEID].value.number; }
  // One screen render on dev; then its calls are cleared.
  void render_on(RecordingDevice& dev) {
    ASSERT_EQ(graph_render(dev, output_screen, 0, 0, dev.width_px(), dev.height_px(), 96, 96), 0);
    dev.calls.clear();
  }
  // The calls of draw_all_shapes alone, reduced to their names.
  std::vector<std::string> drawn_names() {
    RecordingDevice dev(721, 721);
    render_on(dev);
    draw_all_shapes(dev);
    std::vector<std::string> names;
    for (const std::string& c : dev.calls) names.push_back(c.substr(0, c.find(' ')));
    return names;
  }
  void dim(const std::string& name, int rows, const std::vector<std::pair<double, double>>& points) {
    point_at(name + "(" + std::to_string(rows) + ",2)");
    ASSERT_EQ(stmt_dim(), 0);
    for (std::size_t i = 0; i < points.size(); ++i) {
      std::ostringstream s;
      s << name << "(" << i << ",0)=" << points[i].first;
      ASSERT_EQ(execute_statement_text(s.str().c_str()), 0) << s.str();
      std::ostringstream t;
      t << name << "(" << i << ",1)=" << points[i].second;
      ASSERT_EQ(execute_statement_text(t.str().c_str()), 0) << t.str();
    }
  }
};

// Keywords set the current parameters; every parameter of a statement applies
// to every figure it adds.
TEST_F(ShapeTest, KeywordTable) {
  struct shape_case {
    const char* args;
    int result;
    std::function<bool()> check;
  };
  const shape_case cases[] = {
      {"left=3, right=1", 0, [] { return shape_param.left == 1 && shape_param.right == 1; }},
      {"right=4, left=2", 0, [] { return shape_param.centre_x == 3 && shape_param.hradius == 1; }},
      {"left=5", 0, [] { return shape_param.right == 5 && shape_param.hradius == 0; }},
      {"center=(1,2), radius=3", 0, [] { return shape_param.left == -2 && shape_param.top == 5; }},
      {"top=4, bottom=6", 0, [] { return shape_param.top == 6 && shape_param.vradius == 0; }},
      {"lineweight=2.9", 0, [] { return shape_param.lineweight == 2; }},
      {"lineweight=11", -252, [] { return shape_param.lineweight == 1; }},
      {"radius=-1", -252, [] { return shape_param.hradius == 0; }},
      {"filltype=HATCH, hatch=diagcross", 0, [] { return shape_param.filltype == 1 && shape_param.hatch == 5; }},
      {"filltype=striped", -284, [] { return shape_param.filltype == 0; }},
      {"hatch=", 0, [] { return shape_param.hatch == 0; }},
      {"linecolor=(255,0,0), fillcolor=65280", 0, [] { return shape_param.linecolor == 0xFF && shape_param.fillcolor == 0xFF00; }},
      {"startangle=3.5, endangle=-1", 0, [] { return shape_param.startangle == 3.5 && std::fabs(shape_param.endangle - (2 * pi - 1)) < 1e-12; }},
      {"rotatecenter=(1,1)", 0, [] { return shape_param.rotatecenter_given == 1 && shape_param.rotatecenter_x == 1; }},
      {"rotatecenter=(1,1), rotatecenter=center", 0, [] { return shape_param.rotatecenter_given == 0; }},
      {"rotatecenter=middle", -252, [] { return shape_param.rotatecenter_given == 0; }},
      {"center=(1)", -145, [] { return true; }},
      {"center=1", -193, [] { return true; }},
      {"characters=\"A long text of more than thirty-one characters\"", 0, [] { return std::strlen(shape_param.characters) == 31; }},
      {"font=3", -146, [] { return true; }},
      {"polycount=1", -252, [] { return shape_param.polycount == 0; }},
      {"polypoints=q()", -285, [] { return shape_param.polypoints == -1; }},
      {"wibble", -283, [] { return true; }},
      {"left 3", -251, [] { return true; }},
      {"outline=none, reset", 0, [] { return shape_param.outline == 0; }},  // RESET keeps OUTLINE
  };
  for (const shape_case& c : cases) {
    shape_table_reset();
    EXPECT_EQ(shape(c.args), c.result) << c.args;
    EXPECT_TRUE(c.check()) << c.args;
  }
  // Figures need a graph window.
  shape_table_reset();
  EXPECT_EQ(shape("rectangle"), -257);
}

TEST_F(ShapeTest, PointArraysAndTheirErrors) {
  open_graph();
  dim("p", 4, {{1, 1}, {3, 1}, {2, 4}, {1, 3}});
  point_at("q(4,3)");
  ASSERT_EQ(stmt_dim(), 0);
  EXPECT_EQ(shape("polypoints=q()"), -286);
  // Only the name with empty parentheses names the array; a missing one is
  // not created.
  struct form_case {
    const char* args;
    int result;
  };
  const form_case forms[] = {
      {"polypoints = p ( )", 0}, {"polypoints=p", -285},       {"polypoints=p(1,0)", -285},
      {"polypoints=5", -285},     {"polypoints=", -285},        {"polypoints=nosuch()", -285},
      {"polypoints=p$()", -285},
  };
  for (const form_case& c : forms) EXPECT_EQ(shape(c.args), c.result) << c.args << port.output;
  EXPECT_EQ(find_variable("nosuch"), -1);
  no_execute = 1;  // the form is checked while only parsing too
  EXPECT_EQ(shape("polypoints=p"), -285);
  EXPECT_EQ(shape("polypoints=r()"), 0);
  no_execute = 0;
  // No point count yet: refused, nothing read.
  EXPECT_EQ(shape("polypoints=p() polygon"), -287);
  EXPECT_EQ(shape("polycount=5, polygon"), -288);
  EXPECT_EQ(shapes.shape_count, 0);
  EXPECT_EQ(shape("polycount=3, polyline"), 0);
  ASSERT_EQ(shapes.shape_count, 1);
  EXPECT_EQ(rec(0).points.size(), 3u);
  EXPECT_EQ(rec(0).box_y_max, 4);
  EXPECT_EQ(change(std::to_string(lastshapeid()) + ", polypoints=p"), -285);  // CHANGESHAPE reads the same form
  shape_table_reset();
  EXPECT_EQ(shape("polygon"), -287);  // no array at all
}

// An outline array: one contour of one curve of two points (6 points used);
// its counts are trusted only as far as the points used and the list.
TEST_F(ShapeTest, PlotCharOutlineWalkIsBounded) {
  open_graph();
  dim("o", 11, {{1, 6}, {1, 0}, {1, 1}, {2, 3}, {2, 2}, {3, 1}});
  EXPECT_EQ(shape("polypoints=o(), plotcharoutline"), 0);
  EXPECT_EQ(shape_param.polycount, 11);
  ASSERT_EQ(shapes.shape_count, 1);
  EXPECT_EQ(rec(0).points.size(), 11u);
  const std::pair<const char*, const char*> bad[] = {
      {"o(1,0)=5", "o(1,0)=1"},      // five curves in six points
      {"o(3,0)=1e9", "o(3,0)=2"},    // a huge point count
      {"o(0,0)=-1", "o(0,0)=1"},     // a negative contour count
  };
  for (const auto& [spoil, mend] : bad) {
    ASSERT_EQ(execute_statement_text(spoil), 0);
    EXPECT_EQ(shape("plotcharoutline"), -300) << spoil;
    ASSERT_EQ(execute_statement_text(mend), 0);
  }
  ASSERT_EQ(execute_statement_text("o(0,1)=20"), 0);  // more points used than the array holds
  EXPECT_EQ(shape("plotcharoutline"), -288);
  EXPECT_EQ(shapes.shape_count, 1);
}

TEST_F(ShapeTest, KindsInOrderOfLastOccurrenceAndOneShotFlags) {
  open_graph();
  EXPECT_EQ(shape("ellipse rectangle ellipse left=1, right=3, bottom=1, top=2"), 0);
  ASSERT_EQ(shapes.shape_count, 2);
  EXPECT_EQ(rec(0).kind, SW_POLYGON);
  EXPECT_EQ(rec(0).points_generated, 1);
  EXPECT_EQ(rec(0).points[1], (graph_point{3, 1}));  // every parameter applies
  EXPECT_EQ(rec(1).kind, SW_ELLIPSE);
  EXPECT_EQ(rec(1).id, 1);
  EXPECT_EQ(shape("mouseclick rectangle ellipse"), 0);
  EXPECT_EQ(rec(2).mouseclick, 1);
  EXPECT_EQ(rec(3).mouseclick, 0);
  EXPECT_EQ(shapes.clickable_shapes_exist, 1);
}

TEST_F(ShapeTest, IdsAndPathGroups) {
  open_graph();
  EXPECT_EQ(shape("line"), 0);
  EXPECT_EQ(lastshapeid(), 0);
  EXPECT_EQ(shape("beginpath"), 0);
  EXPECT_EQ(lastshapeid(), 1);
  EXPECT_EQ(shape("beginpath"), -298);
  EXPECT_EQ(shapes.shape_count, 2);
  EXPECT_EQ(shape("line"), 0);
  EXPECT_EQ(lastshapeid(), -1);
  EXPECT_EQ(rec(1).group_last, -1);
  EXPECT_EQ(shape("endpath stroke"), 0);
  EXPECT_EQ(lastshapeid(), -1);
  EXPECT_EQ(rec(1).group_last, 4);
  EXPECT_EQ(rec(4).previous_top_level, 0);
  EXPECT_EQ(shape("stroke"), 0);  // no open group: an ordinary figure
  EXPECT_EQ(rec(5).id, 2);        // the refused BEGINPATH, inside the group, took no id
  EXPECT_EQ(shapes.shape_group_head, 5);
  EXPECT_EQ(rec(5).previous_top_level, 1);
}

TEST_F(ShapeTest, TheTableHoldsTwentyThousandFigures) {
  open_graph();
  shape_kind = SW_LINE;
  for (int i = 0; i < shape_table_limit; ++i) ASSERT_EQ(shape_add(), 0) << i;
  EXPECT_EQ(shape("line"), -282);
  EXPECT_EQ(shapes.shape_count, shape_table_limit);
  EXPECT_EQ(lastshapeid(), shape_table_limit - 1);
}

TEST_F(ShapeTest, RotationAndBoxes) {
  open_graph();
  // A line turned a quarter about its start.
  EXPECT_EQ(shape("linestart=(1,1), lineend=(3,1), rotatecenter=(1,1), rotate=1.5707963267948966, line"), 0);
  EXPECT_NEAR(rec(0).lineend_x, 1, 1e-12);
  EXPECT_NEAR(rec(0).lineend_y, 3, 1e-12);
  EXPECT_NEAR(rec(0).box_y_max, 3, 1e-12);
  // The new end is given unturned and drawn turned about the same centre.
  EXPECT_EQ(change("0, lineend=(1,4)"), 0);
  EXPECT_NEAR(rec(0).lineend_x, -2, 1e-12);
  EXPECT_NEAR(rec(0).lineend_y, 1, 1e-12);
  // An ellipse of radii 2 and 1 turned a quarter: 1 wide, 2 high.
  EXPECT_EQ(shape("rotatecenter=center, center=(5,5), hradius=2, vradius=1, rotate=1.5707963267948966, ellipse"), 0);
  EXPECT_NEAR(rec(1).box_x_max - rec(1).centre_x, 1, 1e-12);
  EXPECT_NEAR(rec(1).box_y_max - rec(1).centre_y, 2, 1e-12);
  // A flat ellipse turned: its box just covers the turned diameter.
  EXPECT_EQ(shape("vradius=0, rotate=0.5235987755982988, ellipse"), 0);
  EXPECT_NEAR(rec(2).box_x_max - rec(2).centre_x, std::sqrt(3.0), 1e-12);
  EXPECT_NEAR(rec(2).box_y_max - rec(2).centre_y, 1, 1e-12);
  // About a point away from the centre: the centre moves on the circle
  // around it, the base centre stays; rotating again does not add up.
  EXPECT_EQ(shape("vradius=1, rotate=0.5235987755982988, rotatecenter=(0,5), ellipse"), 0);
  EXPECT_NEAR(std::hypot(rec(3).centre_x, rec(3).centre_y - 5), 5, 1e-12);
  EXPECT_EQ(rec(3).base_centre_x, 5);
  EXPECT_EQ(change("3, rotate=1.0471975511965976"), 0);
  EXPECT_EQ(change("3, rotate=1.0471975511965976"), 0);
  EXPECT_NEAR(rec(3).centre_x, 5 * std::cos(pi / 3), 1e-12);
  EXPECT_NEAR(rec(3).centre_y, 5 + 5 * std::sin(pi / 3), 1e-12);
  // TOP on that turned ellipse is compared in its own frame: its bottom stays.
  EXPECT_EQ(change("3, top=7"), 0);
  EXPECT_NEAR(rec(3).top - rec(3).bottom, 3, 1e-12);
  EXPECT_EQ(rec(3).base_centre_y, 5.5);
}

TEST_F(ShapeTest, ChangeShapeFamiliesAndErrors) {
  open_graph();
  ASSERT_EQ(shape("left=1, right=3, bottom=1, top=2, rectangle"), 0);
  ASSERT_EQ(shape("center=(5,5), radius=1, arc"), 0);
  ASSERT_EQ(shape("beginpath"), 0);  // still open
  EXPECT_EQ(change("0.9, hradius=2"), 0);
  EXPECT_EQ(rec(0).left, 0);
  EXPECT_EQ(rec(0).points[1], (graph_point{4, 1}));  // rebuilt corners
  EXPECT_EQ(change("1, startangle=1, direction=reverse, bold=5000"), 0);  // bold applies only to text
  EXPECT_EQ(rec(1).startangle, 1);
  EXPECT_EQ(rec(1).direction, 1);
  EXPECT_EQ(change("0, direction=sideways"), 0);  // refused only where it applies
  EXPECT_EQ(change("1, direction=sideways"), -337);
  EXPECT_EQ(change("2, linecolor=255"), 0);  // an open group takes no change
  EXPECT_EQ(change("-1, linecolor=255"), -335);
  EXPECT_EQ(change("7, linecolor=255"), -335);
  EXPECT_EQ(change(""), -335);
  EXPECT_EQ(change("0, wibble=2"), -336);
  EXPECT_EQ(change("0, lineweight=12"), -252);
  // POLYCOUNT alone changes nothing; with POLYPOINTS the list is replaced; a
  // rectangle keeps at least four corners.
  dim("p", 5, {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {2, 2}});
  EXPECT_EQ(change("0, polycount=3"), 0);
  EXPECT_EQ(rec(0).points.size(), 4u);
  EXPECT_EQ(change("0, polypoints=p(), polycount=3"), -288);
  EXPECT_EQ(change("0, polypoints=p(), polycount=5"), 0);
  EXPECT_EQ(rec(0).points.size(), 5u);
  EXPECT_EQ(change("0, top=9"), 0);  // rebuilt into four corners, nothing written past them
  EXPECT_EQ(rec(0).points.size(), 4u);
  graph_window_destroy();
  EXPECT_EQ(change("0, top=1"), -263);
}

// A value that cannot be made a number is the statement's own error, with
// no conversion message before it.
TEST_F(ShapeTest, UnconvertibleValuesAreTheStatementsOwnError) {
  struct value_case {
    bool change;
    const char* args;
    int result;
  };
  const value_case cases[] = {
      {false, "center=(1,1), radius=\"abc\"", -284},
      {false, "lineweight=\"2x\"", -284},
      {false, "startangle=\"east\"", -284},
      {false, "bold=\"\"", -284},
      {false, "smooth=\"3\"", 0},  // numeric text converts
      {true, "0, hradius=\"abc\"", -337},
      {true, "0, rotate=\"x1\"", -337},
      {true, "0, bold=\"heavy\"", -337},  // read even where it does not apply
      {true, "0, lineweight=\"4\"", 0},
  };
  open_graph();
  ASSERT_EQ(shape("left=1, right=3, bottom=1, top=2, rectangle"), 0);
  for (const value_case& c : cases) {
    port.output.clear();
    EXPECT_EQ(c.change ? change(c.args) : shape(c.args), c.result) << c.args;
    if (c.result == 0) {
      EXPECT_EQ(port.output, "") << c.args;
      continue;
    }
    EXPECT_TRUE(reported_code(-c.result)) << c.args << port.output;
    EXPECT_EQ(port.output.find("convert"), std::string::npos) << c.args << port.output;
    EXPECT_EQ(port.output.find("Invalid character"), std::string::npos) << c.args << port.output;
  }
}

TEST_F(ShapeTest, DeleteShapeSinglesAndGroups) {
  open_graph();
  ASSERT_EQ(shape("line"), 0);                          // 0: id 0
  ASSERT_EQ(shape("beginpath line endpath stroke"), 0);  // 1..4: id 1
  ASSERT_EQ(shape("line"), 0);                          // 5: id 2
  EXPECT_EQ(stmt_deleteshape(1.0), 0);
  ASSERT_EQ(shapes.shape_count, 2);
  EXPECT_EQ(rec(1).id, 2);
  EXPECT_EQ(rec(1).previous_top_level, 0);
  EXPECT_EQ(rec(1).group_last, 1);
  EXPECT_EQ(shapes.shape_group_head, 1);
  EXPECT_EQ(stmt_deleteshape(2.0), 0);
  EXPECT_EQ(shapes.shape_group_head, 0);  // the one before is the newest again
  EXPECT_EQ(stmt_deleteshape(9.0), 0);    // no such id: nothing
  EXPECT_EQ(shapes.shape_count, 1);
  // Deleting an open group clears the group state: a later STROKE is an
  // ordinary figure and marks no other group.
  ASSERT_EQ(shape("beginpath line"), 0);
  EXPECT_EQ(stmt_deleteshape(3.0), 0);
  EXPECT_EQ(shapes.shape_count, 1);
  EXPECT_EQ(shapes.shape_in_path_group, 0);
  EXPECT_EQ(shapes.shape_path_open, 0);
  ASSERT_EQ(shape("stroke"), 0);
  EXPECT_EQ(rec(1).id, 4);
  EXPECT_EQ(rec(0).group_last, 0);
  point_at("-1");
  EXPECT_EQ(stmt_deleteshape(), -335);
}

// The drawing calls of each kind, in table order.
TEST_F(ShapeTest, DrawingCallsOfEachKind) {
  open_graph();
  using names = std::vector<std::string>;
  struct draw_case {
    const char* args;
    names calls;
  };
  const draw_case cases[] = {
      {"left=1, right=3, bottom=1, top=2, rectangle",
       {"select_pen", "select_brush", "fill", "begin_path", "move_to", "polyline_to", "end_path",
        "stroke_and_fill_path"}},
      {"filltype=none, left=1, right=3, bottom=1, top=2, rectangle",
       {"select_pen", "begin_path", "move_to", "polyline_to", "end_path", "stroke_path"}},
      {"outline=none, left=1, right=3, bottom=1, top=2, rectangle",
       {"select_pen", "select_brush", "fill", "begin_path", "move_to", "polyline_to", "end_path",
        "fill_path"}},
      {"filltype=hatch, left=1, right=3, bottom=1, top=2, rectangle",
       {"select_pen", "select_brush", "background", "fill", "begin_path", "move_to",
        "polyline_to", "end_path", "stroke_and_fill_path"}},
      {"linestart=(1,1), lineend=(2,2), line", {"select_pen", "select_brush", "fill", "polyline"}},
      {"linestart=(1,1), ctlpt1=(2,3), ctlpt2=(3,3), lineend=(4,1), bezier",
       {"select_pen", "select_brush", "fill", "poly_bezier"}},
      {"center=(5,5), radius=2, startangle=0, endangle=1, arc",
       {"select_pen", "select_brush", "fill", "begin_path", "move_to", "poly_bezier_to", "poly_bezier_to",
        "poly_bezier_to", "end_path", "stroke_path"}},
      {"beginpath linestart=(1,1), lineend=(2,2), line linestart=(2,1), lineend=(1,2), line endpath strokefill",
       {"select_pen", "select_brush", "fill", "begin_path", "move_to", "polyline_to", "polyline_to", "close_figure",
        "end_path", "select_pen", "select_brush", "fill", "stroke_and_fill_path"}},
  };
  for (const draw_case& c : cases) {
    shape_table_reset();
    ASSERT_EQ(shape(c.args), 0) << c.args;
    EXPECT_EQ(drawn_names(), c.calls) << c.args;
  }
  // A wholly hidden polygon is not drawn; an open group leaves no path open;
  // STROKE without ENDPATH still ends and strokes the path.
  shape_table_reset();
  ASSERT_EQ(shape("left=100, right=101, bottom=1, top=2, rectangle"), 0);
  EXPECT_EQ(drawn_names(), (names{"select_pen", "select_brush", "fill"}));
  shape_table_reset();
  ASSERT_EQ(shape("beginpath linestart=(1,1), lineend=(2,2), line"), 0);
  EXPECT_EQ(drawn_names().back(), "end_path");
  EXPECT_EQ(render.path_active, 0);
  shape_table_reset();
  ASSERT_EQ(shape("beginpath linestart=(1,1), lineend=(2,2), line stroke"), 0);
  const names stroked = drawn_names();
  EXPECT_EQ(stroked.back(), "stroke_path");
  EXPECT_EQ(render.path_active, 0);
}

// Bezier pieces of a drawn, turned ellipse lie on the analytic curve in
// device pixels, and a figure with a zero radius draws only finite points.
TEST_F(ShapeTest, DrawnEllipsePiecesFollowTheCurve) {
  open_graph();
  ASSERT_EQ(shape("center=(5,5), hradius=3, vradius=1.5, rotate=0.4, ellipse"), 0);
  RecordingDevice dev(721, 721);
  render_on(dev);
  draw_all_shapes(dev);
  const pixel_mapping m = current_mapping();
  const double cx = 5, cy = 5, a = 3 * m.px_per_unit_x, b = 1.5 * m.px_per_unit_y;
  const double dcx = map_x(m, cx), dcy = map_y(m, cy);
  int pieces = 0;
  draw_point from = dev.current;
  for (const std::string& call : dev.calls) {
    std::istringstream in(call);
    std::string name;
    in >> name;
    std::vector<draw_point> pts;
    std::string xy;
    if (name == "move_to") {
      in >> from.x >> from.y;
      continue;
    }
    if (name != "poly_bezier_to") continue;
    while (in >> xy) pts.push_back({std::stoi(xy), std::stoi(xy.substr(xy.find(',') + 1))});
    if (name != "poly_bezier_to") continue;
    ++pieces;
    for (int i = 0; i <= 10; ++i) {
      const double u = i / 10.0, v = 1 - u;
      const double x = v * v * v * from.x + 3 * v * v * u * pts[0].x + 3 * v * u * u * pts[1].x + u * u * u * pts[2].x;
      const double y = v * v * v * from.y + 3 * v * v * u * pts[0].y + 3 * v * u * u * pts[1].y + u * u * u * pts[2].y;
      // Back into the unturned frame (device y runs down).
      const double dx = x - dcx, dy = dcy - y;
      const double ux = dx * std::cos(0.4) + dy * std::sin(0.4), uy = -dx * std::sin(0.4) + dy * std::cos(0.4);
      const double r = std::hypot(ux / a, uy / b);
      EXPECT_LT(std::fabs(r - 1) * std::hypot(ux, uy) / r, 1.5) << call;
    }
    from = pts[2];
  }
  EXPECT_EQ(pieces, 9);  // a piece of zero length at the start, then eight
  shape_table_reset();
  ASSERT_EQ(shape("center=(5,5), ellipse"), 0);  // both radii 0
  ASSERT_EQ(shape("center=(5,5), hradius=2, vradius=0, rotate=1, pie"), 0);
  ASSERT_EQ(shape("center=(5,5), hradius=0, vradius=2, chord"), 0);
  ASSERT_EQ(shape("center=(5,5), hradius=1e300, vradius=1e300, ellipse"), 0);
  RecordingDevice dev2(721, 721);
  render_on(dev2);
  draw_all_shapes(dev2);
  for (const std::string& call : dev2.calls) EXPECT_EQ(call.find("-2147483648"), std::string::npos) << call;
}

// The directions found while an ellipse is cut at the view's edge reach the
// program's test_angle; a program without one is left alone.
TEST_F(ShapeTest, VectorAnglesReachTestAngle) {
  open_graph();
  EXPECT_DOUBLE_EQ(shape_vector_angle(1, -1), 7 * pi / 4);  // no test_angle: nothing written
  ASSERT_EQ(execute_statement_text("test_angle = -1"), 0);
  ASSERT_EQ(shape("center=(9,5), radius=3, ellipse"), 0);  // crosses the right edge
  RecordingDevice dev(721, 721);
  render_on(dev);
  draw_all_shapes(dev);
  double seen = -1;
  ASSERT_EQ(get_named_var_double("test_angle", &seen), 0);
  EXPECT_GE(seen, 0);
  EXPECT_LT(seen, 2 * pi);
  EXPECT_DOUBLE_EQ(shape_vector_angle(-1, -1), 5 * pi / 4);
  ASSERT_EQ(get_named_var_double("test_angle", &seen), 0);
  EXPECT_DOUBLE_EQ(seen, 5 * pi / 4);
}

// A circle reaching far beyond the z box: Bezier pieces inside it, runs
// along its border outside, every device point within the box; a circle
// wholly beside the box draws nothing.
TEST_F(ShapeTest, EllipsesBeyondTheZoomBoxStayInIt) {
  open_graph();
  RecordingDevice dev(721, 721);
  render_on(dev);
  const view_box z = render.zbox;
  const double r = (z.x_max - z.x_min) * 0.6;
  std::ostringstream args;
  args << "center=(" << z.x_mid << "," << z.y_mid << "), radius=" << r << ", ellipse";
  ASSERT_EQ(shape(args.str()), 0);
  render_on(dev);
  draw_all_shapes(dev);
  const pixel_mapping m = current_mapping();
  const int left = map_x(m, z.x_min), right = map_x(m, z.x_max), top = map_y(m, z.y_max), bottom = map_y(m, z.y_min);
  int curves = 0, runs = 0;
  for (const std::string& call : dev.calls) {
    std::istringstream in(call);
    std::string name, xy;
    in >> name;
    if (name == "poly_bezier_to") ++curves;
    if (name == "polyline_to") ++runs;
    if (name != "poly_bezier_to" && name != "polyline_to") continue;
    while (in >> xy) {
      const int x = std::stoi(xy), y = std::stoi(xy.substr(xy.find(',') + 1));
      EXPECT_TRUE(x >= left - 1 && x <= right + 1 && y >= top - 1 && y <= bottom + 1) << call << " box " << left << " " << top << " " << right << " " << bottom;
    }
  }
  EXPECT_EQ(curves, 8);  // the arcs around the diagonals, cut at their samples
  EXPECT_GE(runs, 4);    // and the parts beyond the sides along the border
  EXPECT_EQ(dev.calls.back(), "stroke_and_fill_path");
  shape_table_reset();
  std::ostringstream beside;
  beside << "center=(" << z.x_max + 3 * r << "," << z.y_mid << "), radius=" << r << ", ellipse";
  ASSERT_EQ(shape(beside.str()), 0);
  EXPECT_EQ(drawn_names(), (std::vector<std::string>{"select_pen", "select_brush", "fill"}));
}

TEST_F(ShapeTest, HitTestOrderGroupsAndOpenGroups) {
  open_graph();
  ASSERT_EQ(shape("mouseclick left=1, right=3, bottom=1, top=3, rectangle"), 0);        // id 0
  ASSERT_EQ(shape("mouseclick center=(3,3), radius=1, ellipse"), 0);                    // id 1, overlaps
  ASSERT_EQ(shape("left=5, right=6, bottom=5, top=6, rectangle"), 0);                     // id 2, not clickable
  ASSERT_EQ(shape("mouseclick beginpath center=(5,1.5), radius=0.7, ellipse endpath strokefill"), 0);  // id 3
  RecordingDevice dev(721, 721);
  render_on(dev);
  const pixel_mapping m = current_mapping();
  auto hit = [&](double x, double y) {
    ShapeHitProbe probe(dev.fonts, 721, 721, 96, 96, map_x(m, x), map_y(m, y));
    shape_hit_test(probe, map_x(m, x), map_y(m, y));
    return graph_event;
  };
  EXPECT_EQ(hit(2.5, 2.5), 1);  // the overlap: the later figure
  EXPECT_EQ(hit(1.5, 1.5), 0);
  EXPECT_EQ(hit(5.5, 5.5), -2);     // not clickable
  EXPECT_EQ(hit(5, 1.5), 3);      // inside the group: the group's id
  EXPECT_EQ(hit(0.5, 6.5), -2);
  mouse_check_forward = 1;
  EXPECT_EQ(hit(2.5, 2.5), 0);  // forwards: the earlier one
  // An open group at the end of the table: the forward search still ends,
  // and the open group cannot be hit.
  ASSERT_EQ(shape("mouseclick beginpath center=(1.5,5.5), radius=0.5, ellipse"), 0);
  render_on(dev);
  EXPECT_EQ(hit(1.5, 5.5), -2);
  mouse_check_forward = 0;
  EXPECT_EQ(hit(1.5, 5.5), -2);
  // The hit test leaves every filltype as it was.
  EXPECT_EQ(rec(0).filltype, fill_solid);
  // The render runs a pending hit test at the click and clears the request.
  shape_hit_test_pending = 1;
  graph_click_x = map_x(m, 5);
  graph_click_y = map_y(m, 1.5);
  render_on(dev);
  EXPECT_EQ(shape_hit_test_pending, 0);
  EXPECT_EQ(graph_event, 3);
}

TEST_F(ShapeTest, UpdateRegionClampsToTheZoomBox) {
  point_at("0, 10, 5, 0");
  EXPECT_EQ(stmt_updateregion(), -263);
  open_graph();
  RecordingDevice dev(721, 721);
  render_on(dev);
  const int before = host.invalidations;
  point_at("0, 10, 5, 0");
  EXPECT_EQ(stmt_updateregion(), 0);
  EXPECT_EQ(host.invalidations, before + 1);
  point_at("0, , 5, 0");
  EXPECT_EQ(stmt_updateregion(), -326);
  // On a logarithmic axis the clamped values are placed by their log10; a
  // value of 0 is clamped into the view first, so nothing is undefined.
  ASSERT_EQ(graph_stmt("hscaletype=log, hscale=1, hoffset=0"), 0) << port.output;
  RecordingDevice log_dev(721, 721);
  render_on(log_dev);
  point_at("10, 1000, 5, 0");
  ASSERT_EQ(stmt_updateregion(), 0);
  point_at("0, 1e300, 5, 0");
  ASSERT_EQ(stmt_updateregion(), 0);
  const pixel_mapping m = current_mapping();
  const std::size_t n = host.calls.size();
  ASSERT_GE(n, 2u);
  auto rect = [&](double x1, double x2) {
    return "invalidate_rect " + std::to_string(map_x(m, x1)) + " " + std::to_string(map_y(m, 5)) + " " +
           std::to_string(map_x(m, x2)) + " " + std::to_string(map_y(m, 0));
  };
  EXPECT_EQ(host.calls[n - 2], rect(1, 3));
  EXPECT_EQ(host.calls[n - 1], rect(std::log10(render.zbox.x_min), std::log10(render.zbox.x_max)));
}

}  // namespace
