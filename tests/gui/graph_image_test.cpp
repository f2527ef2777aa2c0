// GRAPH and PLOT statements run through the interpreter and rendered into a
// QImage by the QPainter device: pixels at known places.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "frontend/qt/draw/qt_draw_device.h"
#include "frontend/qt/draw/qt_font_engine.h"
#include "session/size_settings.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "interpreter/init.h"
#include "interpreter/run_state.h"
#include "interpreter/scanner.h"
#include "interpreter/statements.h"
#include "interpreter/variables.h"
#include "tests/support/fake_graph_host.h"
#include "tests/support/scripted_port.h"

namespace {

constexpr draw_color white = draw_rgb(255, 255, 255);
constexpr draw_color red = draw_rgb(255, 0, 0);
constexpr draw_color grid_grey = 0x808080;

class GraphImageTest : public ::testing::Test {
 protected:
  ScriptedPort port;
  std::optional<FakeGraphHost> host;
  std::uint32_t saved_console = 0;

  void SetUp() override {
    install_frontend_port(&port);
    size_settings_reset_current();
    ASSERT_EQ(init_interpreter_tables(), 0);
    saved_console = console_mode;
    console_mode = 0;
    host.emplace();
  }
  void TearDown() override {
    graph_window_destroy();
    host.reset();
    clear_all_variables();
    console_mode = saved_console;
    install_frontend_port(nullptr);
  }
  // Runs "GRAPH ..." and "PLOT ..." statements.
  void run(const std::vector<std::string>& statements) {
    for (const std::string& s : statements) {
      bool is_graph = s.rfind("GRAPH", 0) == 0;
      scan_text_scope scope(s.substr(is_graph ? 5 : 4));
      ASSERT_EQ(is_graph ? stmt_graph() : stmt_plot(), 0) << s << "\n" << port.output;
    }
  }
  static QtFontEngine& fonts() {
    static QtFontEngine engine;
    return engine;
  }
  static draw_color pixel(QtImageDevice& dev, int x, int y) {
    draw_color c = 0x12345678;
    EXPECT_TRUE(dev.get_pixel(x, y, c)) << x << "," << y;
    return c;
  }
};

TEST_F(GraphImageTest, PlotLineGridAndBackgroundInAJpegRender) {
  run({"GRAPH", "PLOT color=(255,0,0), lineweight=3, x=0, y=2", "PLOT x=5, y=2"});
  QtImageDevice dev(721, 961, 96, 96, fonts(), draw_rgb(1, 2, 3));
  ASSERT_TRUE(dev.ok());
  ASSERT_EQ(graph_render(dev, output_jpeg, 0, 0, 721, 961, 96, 96), 0);
  const pixel_mapping m = current_mapping();
  // The red line crosses x = 2.7 at y = 2 (it is 4 pixels wide).
  EXPECT_EQ(pixel(dev, map_x(m, 2.7), map_y(m, 2)), red);
  // The JPEG render paints its white background everywhere first (the y
  // axis runs 0 .. 2 with grid lines every 0.2).
  EXPECT_EQ(pixel(dev, map_x(m, 2.7), map_y(m, 1.3)), white);
  // The grid line at x = 1 is dashed: 6-pixel dashes every 10 pixels from
  // the top of the plot area.
  const int gx = map_x(m, 1);
  const int base = render.plot_top_px + 10 * ((map_y(m, 1.1) - render.plot_top_px) / 10);
  EXPECT_EQ(pixel(dev, gx, base + 3), grid_grey);
  EXPECT_EQ(pixel(dev, gx, base + 8), white);
  // The frame: axis colour at the very edge.
  EXPECT_EQ(pixel(dev, 0, 480), draw_rgb(0, 0, 0));
}

TEST_F(GraphImageTest, ScreenGridIsDotted) {
  run({"GRAPH"});
  QtImageDevice dev(721, 961, 96, 96, fonts());
  ASSERT_TRUE(dev.ok());
  ASSERT_EQ(graph_paint(dev), 0);
  const pixel_mapping m = current_mapping();
  const int gx = map_x(m, 1);
  int grey = 0, light = 0;
  for (int y = map_y(m, 3.9); y < map_y(m, 3.9) + 12; ++y) {  // between grid lines 3.5 and 4
    draw_color c = pixel(dev, gx, y);
    if (c == grid_grey) ++grey;
    if (c == white) ++light;
  }
  EXPECT_GT(grey, 2);
  EXPECT_GT(light, 2);
}

}  // namespace
