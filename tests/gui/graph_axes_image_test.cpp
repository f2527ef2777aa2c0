// Logarithmic and date-time axes rendered into images by the QPainter
// device: every tick's grid line stands at its column and nothing between
// ticks, on a log axis and on a date axis over a daylight-saving change day.
#include <gtest/gtest.h>

#include <QDir>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "frontend/qt/draw/qt_draw_device.h"
#include "frontend/qt/draw/qt_font_engine.h"
#include "graph/axes.h"
#include "graph/datetime_ticks.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "graph/text_table.h"
#include "interpreter/datetime.h"
#include "interpreter/host_api.h"
#include "interpreter/run_state.h"
#include "tests/support/fake_graph_host.h"
#include "tests/support/scripted_port.h"

namespace {

// Leaves the image for people to look at (never compared).
void save_artefact(QtImageDevice& dev, const char* name) {
  QDir().mkpath(QStringLiteral(TOV_ARTEFACT_DIR));
  dev.image().save(QStringLiteral(TOV_ARTEFACT_DIR) + "/" + name);
}

QtFontEngine& engine() {
  static QtFontEngine fonts;
  return fonts;
}

class GraphAxesImage : public ::testing::Test {
 protected:
  ScriptedPort port;
  FakeGraphHost host;
  std::string saved_tz;
  bool had_tz = false;

  void SetUp() override {
    const char* tz = std::getenv("TZ");
    had_tz = tz != nullptr;
    if (tz) saved_tz = tz;
    install_frontend_port(&port);
    install_graph_font_engine(&engine());
  }
  void TearDown() override {
    graph_window_destroy();
    if (had_tz) setenv("TZ", saved_tz.c_str(), 1);
    else unsetenv("TZ");
    host_init();
    install_graph_font_engine(nullptr);
    install_frontend_port(nullptr);
  }
  // Starts the interpreter in window mode in the given zone.
  void start_in(const char* zone) {
    setenv("TZ", zone, 1);
    ASSERT_EQ(host_init(), 0);
    console_mode = 0;
  }
  void run(const std::string& line) { ASSERT_GE(host_run_typed_line(line), 0) << line << "\n" << port.output; }
  // The rows of column x inside the plot area that are not white.
  static int marked_rows(QtImageDevice& dev, int x) {
    int n = 0;
    for (int y = render.plot_top_px + 2; y < render.plot_top_px + render.plot_height_px - 2; ++y) {
      draw_color c = 0;
      if (dev.get_pixel(x, y, c) && c != draw_rgb(255, 255, 255)) ++n;
    }
    return n;
  }
  // Checks, for each tick (in axis units) inside the plot, that its grid
  // line stands in its column and its number above the axis line, and that
  // no vertical line stands halfway to the next tick (the horizontal grid
  // lines and the plot line cross every column); returns the ticks checked.
  static int check_ticks(QtImageDevice& dev, std::vector<double> ticks) {
    const pixel_mapping m = current_mapping();
    std::sort(ticks.begin(), ticks.end());
    const int rows = render.plot_height_px - 4;
    const int left = render.plot_left_px + 4, right = render.plot_left_px + render.plot_width_px - 5;
    const int axis_row = render.plot_top_px + render.plot_height_px - 1 - static_cast<int>(axes.xaxis_pos_px);
    int checked = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
      const int x = map_x(m, ticks[i]);
      if (x < left || x > right) continue;
      ++checked;
      EXPECT_GT(marked_rows(dev, x), rows / 3) << "tick at " << ticks[i] << ", column " << x;
      EXPECT_GT(dark(dev, x - 10, axis_row - 60, x + 10, axis_row - 8), 10) << "number of " << ticks[i];
      if (i + 1 < ticks.size()) {
        const int next = map_x(m, ticks[i + 1]);
        if (next - x >= 8 && next <= right) {
          EXPECT_LT(marked_rows(dev, (x + next) / 2), rows / 8) << "between " << ticks[i] << " and " << ticks[i + 1];
        }
      }
    }
    return checked;
  }
  // The dark pixels (numbers, titles, axis lines) in [l, r) x [t, b).
  static int dark(QtImageDevice& dev, int l, int t, int r, int b) {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) {
        draw_color c = 0;
        if (dev.get_pixel(x, y, c) && draw_red(c) + draw_green(c) + draw_blue(c) < 200) ++n;
      }
    return n;
  }
};

TEST_F(GraphAxesImage, LogAxisGridAtItsDecadesAndMantissas) {
  start_in("UTC0");
  run("GRAPH hscaletype=log, includeyaxis=0, noborder");
  run("PLOT color=(255,0,0), x=1, y=1");
  run("PLOT x=1000, y=2");
  QtImageDevice dev(721, 961, 96, 96, engine());
  ASSERT_TRUE(dev.ok());
  ASSERT_EQ(graph_render(dev, output_jpeg, 0, 0, 721, 961, 96, 96), 0) << port.output;
  std::vector<double> ticks;
  for (int i = 0; i < axes.log_ticks_x.count; ++i) ticks.push_back(axes.log_ticks_x.ticks[i].value);
  EXPECT_GE(check_ticks(dev, ticks), 8);  // mantissas inside each of the three decades
  // The decades 10 and 100 are ticks, drawn with the major pen.
  const pixel_mapping m = current_mapping();
  for (double decade : {1.0, 2.0}) {
    EXPECT_NE(std::find(ticks.begin(), ticks.end(), decade), ticks.end()) << decade;
    EXPECT_GT(marked_rows(dev, map_x(m, decade)), render.plot_height_px / 2) << decade;
  }
  save_artefact(dev, "log_axis.png");
}

// 14 March 2021 in New York: clocks go from 02:00 to 03:00, so the day has
// 23 hours. The hour ticks stay on multiples of three in local time.
TEST_F(GraphAxesImage, DateAxisOverADaylightSavingChangeDay) {
  start_in("America/New_York");
  auto local = [](double h, double mi) {
    datetime_fields f{};
    f.year = 2021, f.month = 3, f.day = 14, f.hour = h, f.minute = mi, f.dst = -1;
    return datetime_from_fields(f);
  };
  const double t0 = local(0, 30), t1 = local(23, 30);
  ASSERT_EQ(t1 - t0, 22 * 3600.0);  // a 23-hour day
  run("GRAPH hscaletype=datetime, includeyaxis=0, noborder");
  run("PLOT color=(255,0,0), x=" + std::to_string(t0) + ", y=1");
  run("PLOT x=" + std::to_string(t1) + ", y=2");
  run("TEXT xaxis, string=\"Hours of &date\"");
  QtImageDevice dev(721, 961, 96, 96, engine());
  ASSERT_TRUE(dev.ok());
  ASSERT_EQ(graph_render(dev, output_jpeg, 0, 0, 721, 961, 96, 96), 0) << port.output;
  EXPECT_EQ(texts.xaxis_date_text, "Mar 14, 2021");
  std::vector<double> hours;
  for (int i = 0; i < datetime_ticks_x.count; ++i) {
    const datetime_tick& t = datetime_ticks_x.ticks[i];
    if ((t.flags & ~dt_tick_major) != dt_tick_hour) continue;
    EXPECT_EQ(t.index % 3, 0) << t.index;
    hours.push_back(t.position);
  }
  ASSERT_EQ(hours.size(), 7u);  // 03:00 .. 21:00
  EXPECT_EQ(check_ticks(dev, hours), 7);
  const pixel_mapping m = current_mapping();
  // 03:00 stands two hours after midnight; three hours after midnight
  // (04:00 local) is no tick.
  EXPECT_GT(marked_rows(dev, map_x(m, local(3, 0))), render.plot_height_px / 3);
  EXPECT_EQ(local(3, 0) - local(0, 0), 2 * 3600.0);
  EXPECT_LT(marked_rows(dev, map_x(m, local(0, 0) + 3 * 3600)), render.plot_height_px / 8);
  // The title with the date below the axis line.
  const int axis_row = render.plot_top_px + render.plot_height_px - 1 - static_cast<int>(axes.xaxis_pos_px);
  EXPECT_GT(dark(dev, render.plot_left_px + 200, axis_row + 4, render.plot_left_px + 500, axis_row + 40), 300);
  save_artefact(dev, "date_axis_dst.png");
}

}  // namespace
