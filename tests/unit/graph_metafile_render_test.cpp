// A whole graph rendered into the metafile writer: a date-time axis with
// "&date" in its title, a logarithmic axis and a filled text shape, read back
// by a real converter (emf2svg-conv) when it is installed.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "graph_test_support.h"
#include "graph/datetime_ticks.h"
#include "graph/emf_writer.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "graph/shapes.h"
#include "interpreter/datetime.h"
#include "interpreter/run_control.h"
#include "interpreter/statements.h"
#include "tests/support/recording_device.h"
#include "tests/support/test_files.h"

namespace {

std::string temp_path(const char* name) { return test_temp_path("tov-graph-emf", name); }

class GraphMetafileRender : public GraphWindowTest {
 protected:
  FakeFontEngine fonts;
  void SetUp() override {
    GraphWindowTest::SetUp();
    install_graph_font_engine(&fonts);
  }
  void statement(int (*stmt)(), const std::string& args) {
    point_at(args);
    ASSERT_EQ(stmt(), 0) << args << "\n" << port.output;
  }
};

TEST_F(GraphMetafileRender, DateAndLogAxesAndATextShape) {
  if (!have_program("emf2svg-conv")) GTEST_SKIP() << "emf2svg-conv is not installed";
  datetime_fields f{};
  f.year = 2021, f.month = 3, f.day = 5, f.hour = 9, f.dst = -1;
  const double t0 = datetime_from_fields(f);
  statement(stmt_graph, "hscaletype=datetime, vscaletype=log, includexaxis=0, includeyaxis=0");
  statement(stmt_plot, "x=" + std::to_string(t0) + ", y=1");
  statement(stmt_plot, "x=" + std::to_string(t0 + 8 * 3600) + ", y=1000");
  statement(stmt_text, "xaxis, string=\"Time of &date\"");
  statement(stmt_shape, "left=" + std::to_string(t0 + 3600) + ", right=" + std::to_string(t0 + 3 * 3600) +
                            ", bottom=10, top=100, characters=\"AB\", filltype=solid, fillcolor=(255,0,0), "
                            "linecolor=(0,0,255), text");

  EmfWriter emf({721, 961, 191, 254, 96, 96}, 721, 961, 19050, 25400, fonts);
  ASSERT_EQ(graph_render(emf, output_metafile, 0, 0, 721, 961, 96, 96), 0) << port.output;
  EXPECT_GT(datetime_ticks_x.count, 3);
  EXPECT_GT(axes.log_ticks_y.count, 3);
  EXPECT_EQ(shapes.records[0].outline_measured, 1);
  const std::string emf_path = temp_path("graph.emf"), svg_path = temp_path("graph.svg");
  ASSERT_TRUE(emf.save(emf_path)) << emf.error();
  const std::string cmd = "emf2svg-conv -i '" + emf_path + "' -o '" + svg_path + "' >/dev/null 2>&1";
  const int converted = std::system(cmd.c_str());
  const std::string svg = read_text(svg_path);
  std::remove(emf_path.c_str());
  std::remove(svg_path.c_str());
  ASSERT_EQ(converted, 0);  // a real reader takes the whole file
  ASSERT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("Time of Mar 5, 2021"), std::string::npos);  // the title with its date
  EXPECT_NE(svg.find("[1000]"), std::string::npos);               // a decade's number
  EXPECT_NE(svg.find("[12:00]"), std::string::npos);              // an hour's label
  EXPECT_NE(svg.find("#FF0000"), std::string::npos);              // the glyphs' fill
  EXPECT_NE(svg.find("#0000FF"), std::string::npos);              // and their outline
}

}  // namespace
