// The TEXT statement, the text table and text drawing, through the
// interpreter's scanner, with the fake graph host as the window and the
// fake font engine (exact metrics) measuring and drawing.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <numbers>

#include "graph_test_support.h"
#include "graph/graph_state.h"
#include "graph/graph_window.h"
#include "graph/text_draw.h"
#include "graph/text_table.h"
#include "interpreter/functions.h"
#include "interpreter/host_api.h"
#include "interpreter/named_vars.h"
#include "interpreter/statements.h"
#include "tests/support/fake_graph_host.h"
#include "tests/support/recording_device.h"

namespace {

class TextStatementTest : public GraphWindowTest {
 protected:
  FakeFontEngine fonts;

  void SetUp() override {
    GraphWindowTest::SetUp();
    install_graph_font_engine(&fonts);
  }
  int statement(int (*stmt)(), const std::string& args) { return run_statement(stmt, args); }
  int text(const std::string& args) { return statement(stmt_text, args); }
  void open_graph() { ASSERT_EQ(statement(stmt_graph, ""), 0) << port.output; }
  text_record& item(int i) { return texts.table[static_cast<std::size_t>(i)]; }
  void set_string(const char* name, const std::string& value) {
    std::snprintf(string_accumulator, string_accumulator_size, "%s", value.c_str());
    string_accumulator_length = static_cast<std::int32_t>(value.size());
    ASSERT_GE(set_named_var_string(name), 0);
  }
  // A render of the whole graph onto dev (800 x 600 pixels).
  void render_on(RecordingDevice& dev) {
    ASSERT_GE(graph_render(dev, output_jpeg, 0, 0, dev.width_px(), dev.height_px(), dev.px_per_inch_x(),
                           dev.px_per_inch_y()),
              0)
        << port.output;
  }
};

TEST_F(TextStatementTest, KeywordsAndErrors) {
  open_graph();
  struct text_case {
    const char* args;
    int result;
    std::function<bool()> check;
  };
  const text_case cases[] = {
      {"string=\"Hi\"", 0,
       [&] {
         const text_record& t = texts.table[0];
         return texts.text_count == 1 && t.x_kind == 1 && t.x == 50 && t.y_kind == 1 && t.y == 85 &&
                t.justify == 1 && t.measured == 1 && text_record_text(t) == "Hi" && t.bold == 1;
       }},
      {"h=33.9, v=99, justify=right, boxed, color=(1,2,3), string=\"a\"", 0,
       [&] {
         const text_record& t = texts.table[texts.text_count - 1];
         return t.x == 33 && t.y == 99 && t.justify == 2 && t.boxed == 1 && t.color == 0x030201;
       }},
      {"x=1, x2=4, y=2, size=12, normal, angle=1, string=\"a\"", 278, nullptr},  // x2 with size
      {"x=1, x2=4, y=2, datasize=3, italic, angle=1, string=\"a\"", 0,
       [&] {
         const text_record& t = texts.table[texts.text_count - 1];
         return t.x_kind == 2 && t.has_x2 == 1 && t.x2 == 4 && t.datasize == 3 && t.italic == 1 && t.angle == 1;
       }},
      {"h=100, string=\"a\"", 0, nullptr},
      {"v=100, string=\"a\"", 252, nullptr},
      {"h=-1, string=\"a\"", 252, nullptr},
      {"size=5, string=\"a\"", 252, nullptr},
      {"datasize=-1, string=\"a\"", 252, nullptr},
      {"x2=5, string=\"a\"", 278, nullptr},
      {"x=10, x2=5, string=\"a\"", 252, nullptr},
      {"y=10, y2=5, string=\"a\"", 252, nullptr},
      {"h=5, x=2, string=\"a\"", 278, nullptr},
      {"v=5, y2=2, y=1, string=\"a\"", 278, nullptr},
      {"size=10, datasize=2, string=\"a\"", 278, nullptr},
      {"xaxis, yaxis, string=\"a\"", 278, nullptr},
      {"xaxis, v=3, string=\"a\"", 278, nullptr},
      {"yaxis, boxed, string=\"a\"", 278, nullptr},
      {"xaxis, size=8, string=\"t\"", 252, nullptr},  // passes 6..100, fails the title's 10..30
      {"xaxis, size=12, h=20, string=\"Time\"", 0,
       [&] {
         const text_record& t = texts.xaxis_title;
         return t.size == 12 && t.x == 20 && t.x_kind == 1 && t.y_kind == 0 && text_record_text(t) == "Time";
       }},
      {"yaxis, string=\"Volts\"", 0,
       [&] { return texts.yaxis_title.y == 50 && text_record_text(texts.yaxis_title) == "Volts"; }},
      {"bogus=1", 275, nullptr},
      {"3", 275, nullptr},
      {"h 5, string=\"a\"", 251, nullptr},
      {"h=\"x\", string=\"a\"", 276, nullptr},
      {"font=3", 146, nullptr},
      {"justify=middle, string=\"a\"", 276, nullptr},
      {"string=5", 299, nullptr},
      {"", 277, nullptr},
      {"boxed", 277, nullptr},
  };
  for (const text_case& c : cases) {
    port.output.clear();
    int count = texts.text_count;
    int r = text(c.args);
    if (c.result == 0) {
      EXPECT_EQ(r, 0) << c.args << "\n" << port.output;
    } else {
      EXPECT_EQ(r, -c.result) << c.args << "\n" << port.output;
      EXPECT_TRUE(reported_code(c.result)) << c.args << "\n" << port.output;
      EXPECT_EQ(texts.text_count, count) << c.args;  // nothing added by a failing statement
    }
    if (c.check) {
      EXPECT_TRUE(c.check()) << c.args;
    }
  }
}

TEST_F(TextStatementTest, DefaultsWithoutAString) {
  open_graph();
  EXPECT_EQ(texts.text_default_bold, 1);
  EXPECT_EQ(text("normal"), 0);
  EXPECT_EQ(texts.text_default_bold, 0);
  EXPECT_EQ(texts.text_default_italic, 0);
  EXPECT_EQ(text("bold, italic"), 0);  // only the first that applies
  EXPECT_EQ(texts.text_default_bold, 1);
  EXPECT_EQ(texts.text_default_italic, 0);
  EXPECT_EQ(text("font=\"Courier New\""), 0);
  EXPECT_STREQ(texts.text_default_font, "Courier New");
  EXPECT_EQ(texts.text_count, 0);
  // With a string, bold and italic hold for that text only; a face becomes the default.
  EXPECT_EQ(text("italic, font=\"Arial\", string=\"a\""), 0);
  EXPECT_EQ(item(0).italic, 1);
  EXPECT_STREQ(item(0).font, "Arial");
  EXPECT_EQ(texts.text_default_italic, 0);
  EXPECT_STREQ(texts.text_default_font, "Arial");
  EXPECT_EQ(text("font=\"" + std::string(40, 'f') + "\""), 0);
  EXPECT_EQ(std::string(texts.text_default_font), std::string(31, 'f'));
}

TEST_F(TextStatementTest, NoWindowIsRefused) {
  EXPECT_EQ(text("string=\"a\""), -257);
  EXPECT_TRUE(reported_code(257));
}

// A literal is kept in its record: a relabelling loop uses up no variables,
// however many passes it makes.
TEST_F(TextStatementTest, LiteralsKeepTheirOwnTextAndUseNoVariables) {
  open_graph();
  no_execute = 1;  // a skipped branch: parsed, nothing added
  EXPECT_EQ(text("string=\"skipped\""), 0);
  no_execute = 0;
  EXPECT_EQ(texts.text_count, 0);
  const std::uint32_t variables = variable_count;
  for (int i = 0; i < 400; ++i)
    ASSERT_EQ(text("x=" + std::to_string(i) + ", y=1, string=\"run\", justify=left"), 0) << i << port.output;
  EXPECT_EQ(variable_count, variables);
  EXPECT_EQ(texts.text_count, 400);
  EXPECT_EQ(text_record_text(item(0)), "run");
  EXPECT_EQ(text_record_text(item(399)), "run");
  EXPECT_EQ(item(399).value_slot, nullptr);
  // A variable is still followed, not copied.
  set_string("a$", "one");
  ASSERT_EQ(text("string=a$"), 0);
  set_string("a$", "two");
  EXPECT_EQ(text_record_text(item(400)), "two");
  // A failing statement adds nothing.
  EXPECT_EQ(text("v=5, y=1, string=\"x\""), -278);
  EXPECT_EQ(texts.text_count, 401);
  // CLEAR drops every text and both titles.
  EXPECT_EQ(text("xaxis, string=\"t\""), 0);
  clear_all_variables();
  EXPECT_EQ(texts.text_count, 0);
  EXPECT_FALSE(text_record_in_use(texts.xaxis_title));
  EXPECT_FALSE(text_record_in_use(item(0)));
  EXPECT_EQ(text_record_text(item(0)), "");
}

TEST_F(TextStatementTest, TextsFollowTheirVariableAndMeasureAgainOnlyOnChange) {
  open_graph();
  set_string("a$", "ab");
  ASSERT_EQ(text("x=0, y=0, justify=left, string=a$"), 0);
  text_record& t = item(0);
  EXPECT_DOUBLE_EQ(t.em_right, 1000);  // two characters of 500 units
  text_view v;
  v.zbox_axis = {-1e9, 1e9, -1e9, 1e9, 0, 0};
  EXPECT_EQ(text_measure_item(fonts, t, 0, &v), 1);
  set_string("a$", "abcd");
  EXPECT_EQ(text_measure_item(fonts, t, 0, &v), 1);
  EXPECT_DOUBLE_EQ(t.em_right, 2000);
  set_string("a$", "");
  EXPECT_EQ(text_measure_item(fonts, t, 0, &v), 0);  // empty: not drawn
  // A failed measuring is reported once, keeps the old key and is retried.
  set_string("a$", "xyz");
  fonts.fail = true;
  texts.measure_font_valid = false;  // the measuring font must be made again
  port.output.clear();
  EXPECT_EQ(text_measure_item(fonts, t, 0, &v), -280);
  EXPECT_EQ(text_measure_item(fonts, t, 0, &v), -280);
  EXPECT_EQ(t.measured, 0);
  EXPECT_EQ(port.output.find("Unable to Create Font."), port.output.rfind("Unable to Create Font."));
  fonts.fail = false;
  EXPECT_EQ(text_measure_item(fonts, t, 0, &v), 1);
  EXPECT_DOUBLE_EQ(t.em_right, 1500);
  // Culled only when the whole box lies outside the z box.
  v.zbox_axis = {1.0, 5, -1e9, 1e9, 0, 0};
  EXPECT_EQ(text_measure_item(fonts, t, 0, &v), 1);  // box reaches past x = 1
  v.zbox_axis = {1e6, 2e6, -1e9, 1e9, 0, 0};
  EXPECT_EQ(text_measure_item(fonts, t, 0, &v), 0);
}

TEST_F(TextStatementTest, ArrayElementsAreKeptAsTheirValue) {
  open_graph();
  ASSERT_GE(host_run_typed_line("dim b$(3) : b$(1) = \"el\""), 0) << port.output;
  ASSERT_EQ(text("string=b$(1)"), 0) << port.output;
  ASSERT_GE(host_run_typed_line("b$(1) = \"changed\""), 0) << port.output;
  EXPECT_EQ(item(0).value_slot, nullptr);
  EXPECT_EQ(text_record_text(item(0)), "el");
}

TEST_F(TextStatementTest, TableGrowsByFiftyAndStopsAtTwentyThousand) {
  open_graph();
  EXPECT_EQ(texts.text_capacity, 50);
  set_string("a$", "x");
  for (int i = 0; i < 51; ++i) ASSERT_EQ(text("string=a$"), 0);
  EXPECT_EQ(texts.text_capacity, 100);
  texts.text_count = text_table_max;
  EXPECT_EQ(text("string=a$"), -279);
  texts.text_count = 51;
}

TEST_F(TextStatementTest, DrawsFontTextsSubscriptsBoxesAndTitles) {
  open_graph();
  set_string("a$", "Hi\nyo");
  ASSERT_EQ(text("h=50, v=50, color=255, string=a$"), 0);
  ASSERT_EQ(text("h=20, v=20, angle=1.5707963267948966, boxed, string=\"x\\-2\\+y\""), 0);
  ASSERT_EQ(text("xaxis, string=\"Time &date\""), 0);
  ASSERT_EQ(text("yaxis, string=\"Volts\""), 0);
  RecordingDevice dev;
  render_on(dev);
  // 18 points at 96 pixels per inch: 24 pixels; the second line 24 lower.
  // The texts come after the axis numbers: from the first "Hi" on.
  auto all = dev.calls_starting("text_out");
  std::vector<std::string> outs;
  for (const std::string& c : all)
    if (!outs.empty() || c.find("'Hi'") != std::string::npos) outs.push_back(c);
  ASSERT_GE(outs.size(), 6u) << dev.calls.size();
  int x1, y1, x2, y2;
  ASSERT_EQ(std::sscanf(outs[0].c_str(), "text_out %d %d", &x1, &y1), 2) << outs[0];
  EXPECT_NE(outs[0].find("'Hi'"), std::string::npos);
  ASSERT_EQ(std::sscanf(outs[1].c_str(), "text_out %d %d", &x2, &y2), 2);
  EXPECT_NE(outs[1].find("'yo'"), std::string::npos);
  EXPECT_EQ(x2, x1);
  EXPECT_EQ(y2, y1 + 24);
  // The turned text: escapement 900, runs "x", "2" (small, 16 pixels), "y".
  EXPECT_FALSE(dev.calls_starting("select_font 24 900").empty());
  EXPECT_FALSE(dev.calls_starting("select_font 16 900").empty());
  EXPECT_NE(outs[2].find("'x'"), std::string::npos);
  EXPECT_NE(outs[3].find("'2'"), std::string::npos);
  EXPECT_NE(outs[4].find("'y'"), std::string::npos);
  // Its box: a closed polyline, pen 24 / 12 = 2 pixels.
  EXPECT_FALSE(dev.calls_starting("select_pen solid 2 0x000000").empty());
  // The titles: "&date" stays on a linear axis; the y title turned upwards.
  bool time = false, volts = false;
  for (const std::string& c : outs) {
    time = time || c.find("'Time &date'") != std::string::npos;
    volts = volts || c.find("'Volts'") != std::string::npos;
  }
  EXPECT_TRUE(time);
  EXPECT_TRUE(volts);
  // AXES off: no titles.
  ASSERT_EQ(statement(stmt_graph, "noaxes"), 0) << port.output;
  RecordingDevice dev2;
  render_on(dev2);
  for (const std::string& c : dev2.calls_starting("text_out")) EXPECT_EQ(c.find("Volts"), std::string::npos);
}

// A literal followed by longer words is drawn as it stands, not with the
// tail of a later word that passed through the same buffer.
TEST_F(TextStatementTest, LiteralsFollowedByWordsAreDrawnWhole) {
  struct literal_case {
    const char* args;
    const char* drawn;
  };
  const literal_case cases[] = {
      {"string=\"Hi\", x=3, y=3, size=24, justify=center", "'Hi'"},
      {"string=\"Hi\", x=3, y=3, size=24, boxed", "'Hi'"},
      {"string=\"\", h=10, v=10, justify=right", nullptr},
      {"string=\"T\", xaxis, size=12", "'T'"},
      {"string=\"V\", yaxis, size=12, italic", "'V'"},
  };
  for (const literal_case& c : cases) {
    SCOPED_TRACE(c.args);
    graph_window_destroy();
    open_graph();
    ASSERT_EQ(text(c.args), 0) << port.output;
    RecordingDevice dev;
    render_on(dev);
    const std::string want = c.drawn ? c.drawn : "";
    int found = 0;
    for (const std::string& call : dev.calls_starting("text_out")) {
      // Axis numbers are digits only; any letter comes from the text.
      const std::size_t q = call.find('\'');
      if (q == std::string::npos || std::none_of(call.begin() + q, call.end(), ::isalpha)) continue;
      EXPECT_EQ(call.substr(q), want) << call;
      ++found;
    }
    EXPECT_EQ(found, c.drawn ? 1 : 0);
  }
}

TEST_F(TextStatementTest, TallTextsAreDrawnFromGlyphOutlines) {
  open_graph();
  ASSERT_EQ(text("h=50, v=50, size=100, boxed, string=\"AB\""), 0);
  RecordingDevice small_dev;  // 96 ppi: 133 pixels, a device font
  render_on(small_dev);
  EXPECT_TRUE(small_dev.calls_starting("begin_path").empty());
  RecordingDevice dev(2400, 3200, 300, 300);  // 416 pixels: outlines
  render_on(dev);
  EXPECT_TRUE(dev.calls_starting("select_font 416").empty());  // no device font that tall
  // Two glyphs and the box: three paths, each stroked and filled.
  EXPECT_EQ(dev.calls_starting("begin_path").size(), 3u);
  EXPECT_EQ(dev.calls_starting("stroke_and_fill_path").size(), 3u);
  EXPECT_FALSE(dev.calls_starting("poly_bezier_to").empty());
}

// A character whose glyph has no contours (byte 0xE9, asked for as the
// unsigned 233) takes its cell, and the text goes on after it.
TEST_F(TextStatementTest, OutlineTextsPassOverEmptyGlyphs) {
  open_graph();
  set_string("a$", "A\xE9" "B");
  ASSERT_EQ(text("h=50, v=50, size=100, justify=left, string=a$"), 0);
  RecordingDevice dev(2400, 3200, 300, 300);  // 416 pixels: outlines
  dev.fonts.empty_glyph = "\xE9";
  render_on(dev);
  EXPECT_NE(dev.fonts.outlined.find('\xE9'), std::string::npos);
  // Two glyph paths; each starts with a move to its contour's start point.
  std::vector<int> starts;
  for (std::size_t i = 0; i + 1 < dev.calls.size(); ++i) {
    int x = 0, y = 0;
    if (dev.calls[i] == "begin_path" && std::sscanf(dev.calls[i + 1].c_str(), "move_to %d %d", &x, &y) == 2)
      starts.push_back(x);
  }
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_NEAR(starts[1] - starts[0], 416, 2);  // "B" two cells (2 x 208 pixels) after "A"
}

}  // namespace

namespace {

TEST_F(TextStatementTest, AxisTitlesKeepRoomByTheirFont) {
  open_graph();
  RecordingDevice dev;  // 96 pixels per inch
  render.px_per_inch_x = render.px_per_inch_y = 96;
  ASSERT_EQ(axis_title_metrics(dev), 0);
  EXPECT_EQ(render.xaxis_title_margin_in, 0.2);  // no titles: the room of the numbers
  EXPECT_EQ(render.xaxis_title_height_px, 0);
  ASSERT_EQ(text("xaxis, string=\"Time\""), 0);
  ASSERT_EQ(text("yaxis, size=30, string=\"Volts\""), 0);
  ASSERT_EQ(axis_title_metrics(dev), 0);
  // 18 points: 24 pixels, descent 5; band 24 + 6 = 30 pixels.
  EXPECT_EQ(texts.xaxis_title_pt, 18);
  EXPECT_DOUBLE_EQ(render.xaxis_title_margin_in, 30.0 / 96);
  EXPECT_DOUBLE_EQ(render.xaxis_title_height_px, 30);
  // 30 points: 40 pixels, descent 8; band 40 + 9 = 49 pixels.
  EXPECT_DOUBLE_EQ(render.yaxis_title_margin_px, 49);
  dev.fonts.fail = true;
  EXPECT_EQ(axis_title_metrics(dev), -280);
  EXPECT_TRUE(reported_code(280));
}

}  // namespace
