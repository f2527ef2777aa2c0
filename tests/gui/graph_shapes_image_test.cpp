// Shapes rendered on a Qt image: a filled rectangle, a hatched and turned
// ellipse, and a square turned into a diamond, checked at a few pixels.
#include <gtest/gtest.h>

#include "frontend/qt/draw/qt_draw_device.h"
#include "frontend/qt/draw/qt_font_engine.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "graph/shapes.h"
#include "tests/support/fake_graph_host.h"

namespace {

constexpr draw_color white = draw_rgb(255, 255, 255);
constexpr draw_color red = draw_rgb(255, 0, 0);
constexpr draw_color green = draw_rgb(0, 160, 0);
constexpr draw_color blue = draw_rgb(0, 0, 255);

void add(int kind) {
  shape_kind = kind;
  ASSERT_EQ(shape_add(), 0);
}

void box(double left, double right, double bottom, double top) {
  shape_param_set_left(left);
  shape_param_set_right(right);
  shape_param_set_bottom(bottom);
  shape_param_set_top(top);
}

TEST(GraphShapesImage, FilledHatchedAndTurnedShapes) {
  FakeGraphHost host;
  graph_reset();
  graph.graph_width = graph.graph_height = 7.5;
  graph.graph_hscale = graph.graph_vscale = 1;
  graph.graph_grid = graph.graph_axes = graph.graph_border = 0;
  ASSERT_EQ(graph_window_create(), 0);

  shape_param.linecolor = red;
  shape_param.fillcolor = red;
  box(1, 3, 1, 3);
  add(SW_RECTANGLE);

  shape_param.linecolor = blue;
  shape_param.fillcolor = blue;
  shape_param.filltype = fill_hatch;
  shape_param.hatch = 4;  // cross
  shape_param_set_center(5, 2);
  shape_param_set_hradius(1.5);
  shape_param_set_vradius(0.5);
  shape_param.rotate = shape_pi / 2;  // upright
  add(SW_ELLIPSE);

  shape_param.linecolor = green;
  shape_param.fillcolor = green;
  shape_param.filltype = fill_solid;
  shape_param.rotate = shape_pi / 4;
  box(1, 3, 4, 6);
  add(SW_RECTANGLE);

  QtFontEngine fonts;
  QtImageDevice dev(721, 721, 96, 96, fonts);
  ASSERT_TRUE(dev.ok());
  ASSERT_EQ(graph_render(dev, output_jpeg, 0, 0, 721, 721, 96, 96), 0);
  const pixel_mapping m = current_mapping();
  auto at = [&](double x, double y) {
    draw_color c = 0x12345678;
    EXPECT_TRUE(dev.get_pixel(map_x(m, x), map_y(m, y), c));
    return c;
  };
  EXPECT_EQ(at(2, 2), red);
  EXPECT_EQ(at(3.5, 2), white);
  // The upright ellipse: inside above its centre (turned), not beside it.
  int blue_seen = 0, white_seen = 0;
  for (double dy = -1.2; dy <= 1.2; dy += 0.02) {
    const draw_color c = at(5, 2 + dy);
    blue_seen += c == blue;
    white_seen += c == white;
  }
  EXPECT_GT(blue_seen, 2);   // hatch lines cross the figure
  EXPECT_GT(white_seen, 10); // with the background between them
  EXPECT_EQ(at(6.2, 2), white);
  // The diamond: its old corner is outside, the point above its old top inside.
  EXPECT_EQ(at(1.1, 4.1), white);
  EXPECT_EQ(at(2, 6.3), green);
  EXPECT_EQ(at(2, 5), green);
  graph_window_destroy();
}

}  // namespace
