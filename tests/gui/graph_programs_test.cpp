// End-to-end graph programs (tests/graph_programs): each runs through the
// host API with a fake graph window, its graph is rendered into an image and
// checked at the places the program's "REM expect" lines name.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "frontend/qt/draw/qt_draw_device.h"
#include "frontend/qt/draw/qt_font_engine.h"
#include "session/size_settings.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "interpreter/host_api.h"
#include "interpreter/memo.h"
#include "interpreter/run_state.h"
#include "tests/support/fake_graph_host.h"
#include "tests/support/scripted_port.h"

namespace {

namespace fs = std::filesystem;

fs::path programs_folder() { return fs::path(TOV_GRAPH_PROGRAMS_DIR); }

TEST(GraphPrograms, RenderAsTheyExpect) {
  ScriptedPort port;
  install_frontend_port(&port);
  size_settings_reset_current();
  ASSERT_EQ(host_init(), 0);
  const std::uint32_t saved_console = console_mode;
  console_mode = 0;
  static QtFontEngine fonts;
  install_graph_font_engine(&fonts);  // TEXT measures as it adds
  int programs = 0;
  const bool saved_off = memo.off;
  // Each program runs with the memos and again on the general road alone.
  for (const bool off : {false, true}) {
    memo_switch_off(off);
    SCOPED_TRACE(off ? "memos off" : "memos on");
    for (const fs::directory_entry& entry : fs::directory_iterator(programs_folder())) {
      if (entry.path().extension() != ".bas") continue;
      ++programs;
      SCOPED_TRACE(entry.path().filename().string());
      FakeGraphHost host;
      port.output.clear();
      ASSERT_EQ(host_run_program_file(entry.path().string(), false), 0) << port.output;
      EXPECT_NE(port.output.find("plotted"), std::string::npos) << port.output;
      EXPECT_EQ(port.output.find("ERROR"), std::string::npos) << port.output;
      ASSERT_EQ(graph_window_is_open(), 1);
      QtImageDevice dev(721, 961, 96, 96, fonts);
      ASSERT_TRUE(dev.ok());
      ASSERT_EQ(graph_render(dev, output_jpeg, 0, 0, 721, 961, 96, 96), 0) << port.output;
      const pixel_mapping m = current_mapping();
      std::ifstream in(entry.path());
      std::string line;
      int checks = 0;
      while (std::getline(in, line)) {
        double x = 0, y = 0;
        unsigned color = 0;
        if (std::sscanf(line.c_str(), "REM expect x=%lf y=%lf color=%x", &x, &y, &color) != 3) continue;
        ++checks;
        if (graph.graph_hscale_log) x = std::log10(x);
        if (graph.graph_vscale_log) y = std::log10(y);
        draw_color found = 0x12345678;
        EXPECT_TRUE(dev.get_pixel(map_x(m, x), map_y(m, y), found)) << line;
        EXPECT_EQ(found, color) << line;
      }
      EXPECT_GT(checks, 0);
      graph_window_destroy();
    }
  }
  memo_switch_off(saved_off);
  EXPECT_GE(programs, 4);
  console_mode = saved_console;
  interpreter_reset();
  install_graph_font_engine(nullptr);
  install_frontend_port(nullptr);
}

}  // namespace
