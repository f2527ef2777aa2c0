// Graph texts rendered into an image through the Qt drawing device and font
// engine: a turned, subscripted, boxed text, a text tall enough to be drawn
// from glyph outlines, and text shapes (SHAPE TEXT, and CHAROUTLINE's point
// array drawn again by PLOTCHAROUTLINE), checked at pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "frontend/qt/draw/qt_draw_device.h"
#include "frontend/qt/draw/qt_font_engine.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "graph/shapes.h"
#include "graph/text_table.h"
#include "interpreter/host_api.h"
#include "interpreter/run_state.h"
#include "interpreter/variables.h"
#include "tests/support/fake_graph_host.h"
#include "tests/support/scripted_port.h"

namespace {

QtFontEngine& engine() {
  static QtFontEngine fonts;
  return fonts;
}

class GraphTextImage : public ::testing::Test {
 protected:
  ScriptedPort port;
  FakeGraphHost host;
  void SetUp() override {
    install_frontend_port(&port);
    ASSERT_EQ(host_init(), 0);
    console_mode = 0;
    install_graph_font_engine(&engine());
  }
  void TearDown() override {
    graph_window_destroy();
    install_graph_font_engine(nullptr);
    install_frontend_port(nullptr);
  }
  void run(const std::string& line) { ASSERT_GE(host_run_typed_line(line), 0) << line << "\n" << port.output; }
  // Counts pixels in [l, r) x [t, b) that match.
  static int count(QtImageDevice& dev, int l, int t, int r, int b, const std::function<bool(draw_color)>& match) {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) {
        draw_color c = 0;
        if (dev.get_pixel(x, y, c) && match(c)) ++n;
      }
    return n;
  }
  static bool red(draw_color c) { return draw_red(c) > 180 && draw_green(c) < 100 && draw_blue(c) < 100; }
  static bool black(draw_color c) { return draw_red(c) + draw_green(c) + draw_blue(c) < 150; }
};

TEST_F(GraphTextImage, TurnedSubscriptedBoxedText) {
  run("GRAPH width=6, height=6, nogrid, noaxes, noborder");
  run("TEXT h=50, v=50, angle=1.5707963267948966, boxed, size=24, color=(255,0,0), string=\"H\\-2\\+O\"");
  QtImageDevice dev(577, 577, 96, 96, engine());
  ASSERT_TRUE(dev.ok());
  ASSERT_EQ(graph_render(dev, output_jpeg, 0, 0, 577, 577, 96, 96), 0) << port.output;
  const text_record& t = texts.table[0];
  ASSERT_EQ(t.measured, 1);
  ASSERT_EQ(t.has_shifts, 1);
  // The anchor in pixels, and font units to pixels (24 points: 32 pixels).
  const text_view v = text_current_view();
  const int ax = static_cast<int>((t.pos_x + v.hoffset) * v.px_per_unit_x + 0.5) + v.plot_left_px;
  const int ay = v.plot_height_px - 1 - static_cast<int>((t.pos_y + v.voffset) * v.px_per_unit_y) + v.plot_top_px;
  const double k = 32.0 / 1000;
  // Turned a quarter: the text runs up the image, its top to the left.
  const int left = ax - static_cast<int>(t.em_top * k), right = ax - static_cast<int>(t.em_bottom * k);
  const int top = ay - static_cast<int>(t.em_right * k), bottom = ay - static_cast<int>(t.em_left * k);
  EXPECT_GT(count(dev, left + 3, top + 3, right - 2, bottom - 2, red), 30);
  EXPECT_EQ(count(dev, right + 4, top, right + 40, bottom, red), 0);  // nothing right of the box
  EXPECT_EQ(count(dev, left - 40, bottom + 4, right, bottom + 40, red), 0);  // nor below its start
  // The frame (2 pixels wide) on all four sides, at their middles.
  const int mx = (left + right) / 2, my = (top + bottom) / 2;
  EXPECT_GT(count(dev, left - 2, my - 2, left + 3, my + 3, black), 0);
  EXPECT_GT(count(dev, right - 2, my - 2, right + 3, my + 3, black), 0);
  EXPECT_GT(count(dev, mx - 2, top - 2, mx + 3, top + 3, black), 0);
  EXPECT_GT(count(dev, mx - 2, bottom - 2, mx + 3, bottom + 3, black), 0);
  // The subscript "2" is smaller and lowered: it stands right of the line of
  // the base letters, which end at the baseline column ax.
  EXPECT_GT(count(dev, ax + 1, top, right - 2, bottom, red), 0);
}

TEST_F(GraphTextImage, TallTextsAreFilledFromOutlines) {
  run("GRAPH width=6, height=6, nogrid, noaxes, noborder");
  run("TEXT h=50, v=40, size=100, color=(255,0,0), string=\"I\"");
  // 300 pixels per inch: 416 pixels high, past the device-font limit.
  QtImageDevice dev(1801, 1801, 300, 300, engine());
  ASSERT_TRUE(dev.ok());
  ASSERT_EQ(graph_render(dev, output_jpeg, 0, 0, 1801, 1801, 300, 300), 0) << port.output;
  const text_view v = text_current_view();
  const text_record& t = texts.table[0];
  const int ax = static_cast<int>((t.pos_x + v.hoffset) * v.px_per_unit_x + 0.5) + v.plot_left_px;
  const int ay = v.plot_height_px - 1 - static_cast<int>((t.pos_y + v.voffset) * v.px_per_unit_y) + v.plot_top_px;
  // The stem of the "I" is solid red just above the baseline at the anchor.
  EXPECT_GT(count(dev, ax - 10, ay - 200, ax + 10, ay - 20, red), 300);
  EXPECT_EQ(count(dev, ax - 300, ay + 150, ax + 300, ay + 300, red), 0);  // nothing far below the baseline
}

// A text shape "L" stretched into its rectangle: the stem and the foot are
// red, the space the letter leaves open is not, and nothing lies outside the
// glyph box that the measuring found. Then the point array of an "O" from
// CHAROUTLINE, drawn again by PLOTCHAROUTLINE: a blue ring round a white hole.
TEST_F(GraphTextImage, TextShapesAndCharOutlineRoundTrip) {
  run("GRAPH width=6, height=6, hscale=1, vscale=1, hoffset=0, voffset=0, nogrid, noaxes, noborder");
  run("SHAPE font=\"Liberation Sans\", filltype=solid, fillcolor=(255,0,0), linecolor=(255,0,0)");
  run("SHAPE left=0.5, right=0.5, bottom=0.5, top=3.5, characters=\"L\", text");
  run("DIM a(2,2)");
  run("SHAPE fillcolor=(0,0,255), linecolor=(0,0,255)");
  run("SHAPE left=3, right=3, bottom=0.5, top=3.5, characters=\"O\", polypoints=a(), charoutline");
  run("SHAPE polypoints=a(), plotcharoutline");
  QtImageDevice dev(577, 577, 96, 96, engine());
  ASSERT_TRUE(dev.ok());
  ASSERT_EQ(graph_render(dev, output_jpeg, 0, 0, 577, 577, 96, 96), 0) << port.output;
  const pixel_mapping m = current_mapping();
  auto blue = [](draw_color c) { return draw_blue(c) > 180 && draw_red(c) < 100 && draw_green(c) < 100; };
  auto near = [&](double x, double y, const std::function<bool(draw_color)>& match) {
    return count(dev, map_x(m, x) - 2, map_y(m, y) - 2, map_x(m, x) + 3, map_y(m, y) + 3, match);
  };

  ASSERT_EQ(shapes.shape_count, 2);
  const shape_record& l = shapes.records[0];
  ASSERT_EQ(l.outline_measured, 1);
  const double w = l.box_x_max - l.box_x_min, h = l.box_y_max - l.box_y_min;
  EXPECT_GT(h, 1.5);  // a capital of a 3-unit cell
  EXPECT_LT(h, 3);
  EXPECT_NEAR(l.box_y_min, 0.5, 0.05);  // it stands on the baseline
  EXPECT_GT(near(l.box_x_min + 0.05 * w, l.box_y_min + 0.5 * h, red), 20);  // the stem
  EXPECT_GT(near(l.box_x_min + 0.8 * w, l.box_y_min + 0.05 * h, red), 20);  // the foot
  EXPECT_EQ(near(l.box_x_min + 0.7 * w, l.box_y_min + 0.7 * h, red), 0);    // open above the foot
  const int l_left = map_x(m, l.box_x_min), l_right = map_x(m, l.box_x_max);
  const int l_top = map_y(m, l.box_y_max), l_bottom = map_y(m, l.box_y_min);
  EXPECT_EQ(count(dev, 0, 0, 577, l_top - 3, red), 0);
  EXPECT_EQ(count(dev, 0, l_bottom + 4, 577, 577, red), 0);
  EXPECT_EQ(count(dev, l_right + 4, 0, 577, 577, red), 0);
  EXPECT_GT(count(dev, l_left, l_top, l_right + 1, l_bottom + 1, red), 500);

  // The array: two contours, then the pen and the turned box.
  const array_entry& a = array_table[find_array("a")];
  auto at = [&](std::uint32_t i) { return graph_point{a.data[2 * i].number, a.data[2 * i + 1].number}; };
  ASSERT_EQ(at(0).x, 2);
  const std::uint32_t rows = a.dimension_sizes[0];
  ASSERT_EQ(static_cast<double>(rows), at(0).y + 5);
  const graph_point lo = at(rows - 4), hi = at(rows - 2);
  EXPECT_GT(at(rows - 5).x, hi.x);  // the pen advances past the glyph
  EXPECT_GT(lo.x, 3);
  EXPECT_NEAR(lo.y, 0.5, 0.1);
  const double ox = (lo.x + hi.x) / 2, oy = (lo.y + hi.y) / 2, ow = hi.x - lo.x;
  EXPECT_EQ(near(ox, oy, blue), 0);                // the hole stays open
  EXPECT_GT(near(lo.x + 0.04 * ow, oy, blue), 20);  // the ring's left side
  EXPECT_GT(near(hi.x - 0.04 * ow, oy, blue), 20);  // and its right side
}

}  // namespace
