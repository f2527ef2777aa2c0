// The recording device and the fake font engine that the graph tests rely on.
#include <gtest/gtest.h>

#include "ports/draw_device.h"
#include "tests/support/recording_device.h"

TEST(RecordingDevice, RecordsCallsAndTracksState) {
  RecordingDevice device(200, 100);
  device.select_pen({pen_style::inside_frame, 3, draw_rgb(255, 0, 0)});
  device.move_to(1, 2);
  device.line_to(30, 40);
  draw_point pts[] = {{0, 0}, {5, 5}, {10, 0}, {15, 5}};
  device.poly_bezier(pts, 4);
  device.text_out(5, 6, "ab");
  EXPECT_EQ(device.calls, (std::vector<std::string>{"select_pen insideframe 3 0x0000ff", "move_to 1 2",
                                                    "line_to 30 40", "poly_bezier 0,0 5,5 10,0 15,5",
                                                    "text_out 5 6 'ab'"}));
  EXPECT_EQ(device.current, (draw_point{30, 40}));
  EXPECT_EQ(device.calls_starting("line_to").size(), 1u);
}

TEST(FakeFontEngine, MetricsExtentsAndOutlinesArePredictable) {
  FakeFontEngine fonts;
  font_spec font;
  font.height = 20;
  font_metrics m;
  ASSERT_TRUE(fonts.metrics(font, m));
  EXPECT_EQ(m.ascent + m.descent, 20);
  EXPECT_EQ(fonts.extent(font, "abc").cx, 30);
  glyph_outline g;
  EXPECT_TRUE(fonts.outline(font, 'A', g));
  EXPECT_FALSE(g.contours.empty());
  EXPECT_FALSE(fonts.outline(font, ' ', g));
  EXPECT_EQ(g.cell_inc_x, 10);
}

TEST(Cp1252, MapsTheHighControlRangeAndKeepsLatin1) {
  EXPECT_EQ(cp1252_to_unicode(0x80), U'\u20AC');
  EXPECT_EQ(cp1252_to_unicode(0x9F), U'\u0178');
  EXPECT_EQ(cp1252_to_unicode(0x81), U'\u0081');
  EXPECT_EQ(cp1252_to_unicode('A'), U'A');
  EXPECT_EQ(cp1252_to_unicode(0xE9), U'\u00E9');
}
