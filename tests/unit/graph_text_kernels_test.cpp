// Text kernels against the fake font engine (every character half the cell
// height wide, descent a fifth of it, one square-ish outline per glyph).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graph/text_draw.h"
#include "graph/text_glyphs.h"
#include "graph/text_measure.h"
#include "tests/support/recording_device.h"

TEST(TextHash, FollowsTheMultiplyAndFoldRule) {
  EXPECT_EQ(text_hash(""), 0u);
  EXPECT_EQ(text_hash("A"), 65u);
  EXPECT_EQ(text_hash("AB"), 65u * 97u + 66u);
  EXPECT_EQ(text_hash("\xFF"), 0xFFFFFFFFu);  // the byte counts as -1
  // Once the product passes 32 bits its high word folds back in.
  std::uint64_t t = 0xFFFFFFFFull * 97u;
  EXPECT_EQ(text_hash("\xFF" "A"), static_cast<std::uint32_t>(t + (t >> 32) + 65));
  EXPECT_NE(text_hash("ab"), text_hash("ba"));
}

TEST(TextLines, SplitAtLineFeedsWithoutAFinalEmptyLine) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  } cases[] = {
      {"a", {"a"}}, {"a\n", {"a"}}, {"a\nb", {"a", "b"}}, {"a\n\nb", {"a", "", "b"}}, {"\n", {""}}, {"", {""}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> got;
    text_lines walk(c.text);
    std::string_view line;
    while (walk.next(line)) got.emplace_back(line);
    EXPECT_EQ(got, c.lines) << c.text;
  }
}

TEST(TextMeasure, LineWidthsCountShiftedCharactersAtTwoThirds) {
  FakeFontEngine fonts;
  font_spec f = text_measure_font(0, 0, "");
  struct Case {
    const char* line;
    int width;
    bool shifted;
  } cases[] = {
      {"abc", 1500, false},
      {"a\x0F" "b\x0E" "c", 500 + 333 + 500, true},
      {"\x0F\x0F" "a\x0E" "b", 333 + 500, true},   // a second raise stays on +1
      {"\x0E\x0E" "a\x0F" "b", 333 + 500, true},   // likewise a second lowering
      {"\x0E\x0F", 0, true},
  };
  for (const Case& c : cases) {
    bool shifted = false;
    EXPECT_EQ(text_line_width(fonts, f, c.line, shifted), c.width) << c.line;
    EXPECT_EQ(shifted, c.shifted) << c.line;
  }
}

TEST(TextMeasure, BoxesByJustifyBoxLinesAndAngle) {
  FakeFontEngine fonts;
  font_spec f = text_measure_font(1, 0, "");
  EXPECT_EQ(f.height, 1000);
  EXPECT_EQ(f.weight, 700);
  font_metrics m;
  ASSERT_TRUE(fonts.metrics(f, m));  // H 1000, descent 200, average width 500
  struct Case {
    const char* text;
    int justify, boxed;
    double angle;
    double left, top, right, bottom;
    double x_min, x_max, y_min, y_max;
  } cases[] = {
      {"ab", 1, 0, 0, -500, 800, 500, -200, -500, 500, -200, 800},
      {"ab", 0, 0, 0, 0, 800, 1000, -200, 0, 1000, -200, 800},
      // Boxed and right-justified: from -Wmax - W to W, H / 5 above and
      // below, and half the pen allowance H / 12 x 1.5 about the turned box.
      {"ab", 2, 1, 0, -1500, 1000, 500, -400, -1562.5, 562.5, -462.5, 1062.5},
      {"ab\ncd", 1, 0, 0, -500, 800, 500, -1200, -500, 500, -1200, 800},
      {"ab\n", 1, 0, 0, -500, 800, 500, -200, -500, 500, -200, 800},
      {"abcd\nab", 0, 0, 0, 0, 800, 2000, -1200, 0, 2000, -1200, 800},
      // A quarter turn: the box turned, x' = -y, y' = x.
      {"ab", 1, 1, M_PI / 2, -1000, 1000, 1000, -400, -1062.5, 462.5, -1062.5, 1062.5},
  };
  for (const Case& c : cases) {
    text_boxes b = text_measure_boxes(fonts, f, m, c.text, c.justify, c.boxed, c.angle);
    SCOPED_TRACE(c.text);
    EXPECT_DOUBLE_EQ(b.em_left, c.left);
    EXPECT_DOUBLE_EQ(b.em_top, c.top);
    EXPECT_DOUBLE_EQ(b.em_right, c.right);
    EXPECT_DOUBLE_EQ(b.em_bottom, c.bottom);
    EXPECT_NEAR(b.box_x_min, c.x_min, 1e-9);
    EXPECT_NEAR(b.box_x_max, c.x_max, 1e-9);
    EXPECT_NEAR(b.box_y_min, c.y_min, 1e-9);
    EXPECT_NEAR(b.box_y_max, c.y_max, 1e-9);
  }
  EXPECT_EQ(text_measure_boxes(fonts, f, m, "x\x0Fy", 1, 0, 0).has_shifts, 1);
}

TEST(TextRotate, TurnsInAFrameOfEqualPixelScalesAndInDecadesOnLogAxes) {
  text_turn t;
  t.sin = 1, t.cos = 0, t.r = 2;  // 90 degrees; a vertical unit is twice as many pixels as a horizontal one
  double x, y, lx, ly;
  // Two horizontal units are one vertical unit of length: turned, one unit up.
  text_rotate_offset(t, 5, 7, 2, 0, &x, &y, &lx, &ly);
  EXPECT_NEAR(x, 5, 1e-12);
  EXPECT_NEAR(y, 8, 1e-12);
  EXPECT_DOUBLE_EQ(lx, x);
  // One vertical unit up turns into two horizontal units to the left.
  text_rotate_offset(t, 5, 7, 0, 1, &x, &y, nullptr, nullptr);
  EXPECT_NEAR(x, 3, 1e-12);
  EXPECT_NEAR(y, 7, 1e-12);

  text_turn lg;
  lg.log_x = true;
  text_rotate_offset(lg, 10, 3, 1, 2, &x, &y, &lx, &ly);
  EXPECT_NEAR(lx, 2, 1e-12);
  EXPECT_NEAR(x, 100, 1e-9);
  EXPECT_NEAR(y, 5, 1e-12);
  // About a centre: the point's decade distance from it plus the offset.
  text_rotate_point(lg, 10, 0, 1000, 0, 0.5, 0, &x, nullptr, &lx, nullptr);
  EXPECT_NEAR(lx, 3.5, 1e-12);
}

TEST(TextPlace, CentresOnTheRangeThenKeepsItInsidePlotAndRange) {
  struct Case {
    double lo, hi, hi_off, lo_off, first, last, want;
  } cases[] = {
      {0, 10, 1, -1, -100, 100, 5},   // centred
      {0, 10, 2, 0, -100, 100, 4},    // the box's own offset
      {0, 10, 2, 0, 6, 100, 6},       // pushed right of the first visible column
      {0, 10, 2, 0, -100, 3, 1},      // pushed left of the last one
      {0, 10, 2, 0, -100, 1, 0},      // the range wins over the plot edge
      {0, 10, 8, -8, 20, 100, 5},     // wider than the range: centred, not pushed
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(text_place_in_range(c.lo, c.hi, c.hi_off, c.lo_off, c.first, c.last), c.want)
        << c.lo_off << " " << c.first << " " << c.last;
}

TEST(TextTitle, ReplacesTheFirstDateMarkAndStaysWithinTheBuffer) {
  EXPECT_EQ(text_title_with_date("T &date x &date", true, "2024"), "T 2024 x &date");
  EXPECT_EQ(text_title_with_date("T &date", false, "2024"), "T &date");
  std::string title(250, 'a');
  title.replace(10, 5, "&date");
  std::string drawn = text_title_with_date(title, true, std::string(100, 'd'));
  EXPECT_EQ(drawn.size(), text_title_limit);
  EXPECT_EQ(drawn.substr(10, 100), std::string(100, 'd'));
}

TEST(TextSubsup, RunsRaisedLoweredAndJustified) {
  FakeFontEngine fonts;
  font_spec full, small;
  full.height = 20;   // 10 pixels a character
  small.height = 13;  // 6
  std::string line = "a\x0F" "2\x0E\x0E" "b";
  auto runs = text_subsup_runs(fonts, full, small, line, 0, 100, 200, 20, 0, 1);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].text, "a");
  EXPECT_EQ(runs[0].x, 100);
  EXPECT_EQ(runs[0].y, 200);
  EXPECT_EQ(runs[1].text, "2");
  EXPECT_EQ(runs[1].level, 1);
  EXPECT_EQ(runs[1].x, 110);
  EXPECT_EQ(runs[1].y, 195);  // raised trunc(0.27 x 20)
  EXPECT_EQ(runs[2].text, "b");
  EXPECT_EQ(runs[2].level, -1);
  EXPECT_EQ(runs[2].x, 116);
  EXPECT_EQ(runs[2].y, 205);  // lowered trunc(0.25 x 20)
  // Right-justified: ends at the anchor, small runs measured small.
  runs = text_subsup_runs(fonts, full, small, line, 2, 100, 200, 20, 0, 1);
  EXPECT_EQ(runs[0].x, 100 - 22);
  // A quarter turn: runs go up the screen, a raise goes left.
  runs = text_subsup_runs(fonts, full, small, line, 0, 100, 200, 20, 1, 0);
  EXPECT_EQ(runs[1].x, 95);
  EXPECT_EQ(runs[1].y, 190);
}

TEST(GlyphOutline, PointArrayOfAKnownGlyph) {
  FakeFontEngine fonts;
  font_spec f;
  f.height = 100;
  glyph_outline g;
  ASSERT_TRUE(glyph_fetch(fonts, f, 'A', g));  // box 48 x 70 at (1, 70), advance 50, a line pair and a cubic
  EXPECT_EQ(glyph_contour_entries(g), 2 + (1 + 2) + (1 + 3));
  glyph_transform t;
  t.origin_x = 10, t.origin_y = 20;
  std::vector<graph_point> a = glyph_outline_point_array(g, t);
  ASSERT_EQ(a.size(), 1u + 9 + 5);
  EXPECT_EQ(a[0], (graph_point{1, 10}));
  EXPECT_EQ(a[1], (graph_point{2, 0}));   // two curves
  EXPECT_EQ(a[2], (graph_point{11, 20}));  // start
  EXPECT_EQ(a[3], (graph_point{2, 1}));   // two line points
  EXPECT_EQ(a[6], (graph_point{3, 3}));   // a cubic of three points
  EXPECT_EQ(a[9], (graph_point{11, 90}));
  EXPECT_EQ(a[10], (graph_point{60, 20}));  // pen after the glyph
  EXPECT_EQ(a[11], (graph_point{11, 20}));
  EXPECT_EQ(a[12], (graph_point{59, 20}));
  EXPECT_EQ(a[13], (graph_point{59, 90}));
  EXPECT_EQ(a[14], (graph_point{11, 90}));

  // Turned a quarter and halved: (x, y) -> (-y / 2, x / 2) about the pen.
  t.sin = 1, t.cos = 0, t.scale_x = t.scale_y = 0.5;
  a = glyph_outline_point_array(g, t);
  EXPECT_EQ(a[2], (graph_point{10, 20.5}));
  EXPECT_EQ(a[10], (graph_point{10, 45}));
  EXPECT_EQ(a[11], (graph_point{-25, 20.5}));
  EXPECT_EQ(a[13], (graph_point{10, 44.5}));
}

TEST(GlyphOutline, ABlankGivesAnEmptyArrayWithItsPenAndBox) {
  FakeFontEngine fonts;
  font_spec f;
  f.height = 100;
  glyph_outline g;
  EXPECT_FALSE(glyph_fetch(fonts, f, ' ', g));
  EXPECT_EQ(g.cell_inc_x, 50);
  glyph_transform t;
  t.origin_x = 3;
  t.scale_x = 2;
  std::vector<graph_point> a = glyph_outline_point_array(g, t);
  ASSERT_EQ(a.size(), 6u);
  EXPECT_EQ(a[0], (graph_point{0, 0}));
  EXPECT_EQ(a[1], (graph_point{103, 0}));  // the blank's advance is scaled like any other
  for (int i = 2; i < 6; ++i) EXPECT_EQ(a[i], (graph_point{3, 0}));
}
