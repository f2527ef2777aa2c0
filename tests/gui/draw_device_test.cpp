// The QPainter drawing device and the Qt font engine, checked on image pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>

#include "frontend/qt/draw/qt_draw_device.h"
#include "frontend/qt/draw/qt_font_engine.h"

namespace {

constexpr draw_color white = draw_rgb(255, 255, 255);
constexpr draw_color red = draw_rgb(255, 0, 0);
constexpr draw_color blue = draw_rgb(0, 0, 255);
constexpr draw_color yellow = draw_rgb(255, 255, 0);

QtFontEngine& fonts() {
  static QtFontEngine engine;
  return engine;
}

draw_color pixel(QtImageDevice& dev, int x, int y) {
  draw_color c = 0x12345678;
  EXPECT_TRUE(dev.get_pixel(x, y, c)) << x << "," << y;
  return c;
}

// Counts pixels of colour c inside [l, r) x [t, b).
int count_color(QtImageDevice& dev, int l, int t, int r, int b, const std::function<bool(draw_color)>& match) {
  int n = 0;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) {
      draw_color c = 0;
      if (dev.get_pixel(x, y, c) && match(c)) ++n;
    }
  return n;
}

bool dark(draw_color c) { return draw_red(c) + draw_green(c) + draw_blue(c) < 300; }

}  // namespace

TEST(QtFontEngine, WindowsFacesResolveToMetricCompatibleFaces) {
  EXPECT_EQ(QtFontEngine::resolve_family("Arial", false), "Liberation Sans");
  EXPECT_EQ(QtFontEngine::resolve_family("Times New Roman", false), "Liberation Serif");
  EXPECT_EQ(QtFontEngine::resolve_family("Courier New", true), "Liberation Mono");
  EXPECT_EQ(QtFontEngine::resolve_family("", false), "Liberation Sans");
  EXPECT_EQ(QtFontEngine::resolve_family("", true), "Liberation Mono");
}

TEST(QtFontEngine, CellHeightsAndArialAdvances) {
  // Arial's cell is 2288 font units (ascent 1854 + descent 434) on a
  // 2048-unit em; "A" advances 1366 units. At a cell height of 2288 pixels
  // one unit is one pixel.
  font_spec f;
  f.height = 2288;
  f.face = "Arial";
  font_metrics m;
  ASSERT_TRUE(fonts().metrics(f, m));
  EXPECT_EQ(m.height, 2288);
  EXPECT_EQ(m.ascent, 1854);
  EXPECT_EQ(m.descent, 434);
  EXPECT_EQ(m.internal_leading, 240);
  EXPECT_EQ(fonts().extent(f, "A").cx, 1366);

  for (int h : {8, 13, 20, 100, 1000}) {
    f.height = h;
    ASSERT_TRUE(fonts().metrics(f, m)) << h;
    EXPECT_EQ(m.height, h);
    EXPECT_EQ(m.ascent + m.descent, h);
    std::vector<int> adv = fonts().advances(f, "Hello, World");
    int sum = 0;
    for (int a : adv) sum += a;
    EXPECT_EQ(fonts().extent(f, "Hello, World").cx, sum);
    EXPECT_EQ(fonts().extent(f, "Hello, World").cy, h);
  }
  // An explicit average width stretches the font.
  f.height = 100;
  ASSERT_TRUE(fonts().metrics(f, m));
  font_spec wide = f;
  wide.width = 2 * m.average_char_width;
  font_metrics mw;
  ASSERT_TRUE(fonts().metrics(wide, mw));
  EXPECT_NEAR(mw.average_char_width, wide.width, 1);
  EXPECT_NEAR(fonts().extent(wide, "MMMM").cx, 2 * fonts().extent(f, "MMMM").cx, 4);

  f.height = 0;
  EXPECT_FALSE(fonts().metrics(f, m));
  f.height = -5;
  EXPECT_FALSE(fonts().metrics(f, m));
}

TEST(QtFontEngine, GlyphOutlines) {
  font_spec f;
  f.height = 1000;
  glyph_outline g;
  // "I" in a sans face: one contour of straight lines, standing on the baseline.
  ASSERT_TRUE(fonts().outline(f, 'I', g));
  ASSERT_EQ(g.contours.size(), 1u);
  for (const glyph_segment& s : g.contours[0].segments) EXPECT_EQ(s.kind, glyph_segment::line);
  EXPECT_GT(g.cell_inc_x, 0);
  EXPECT_EQ(g.origin_y, g.black_box_y);  // from the cap height down to the baseline
  EXPECT_GT(g.origin_y, 500);
  // "O": two contours of curves, y up (all points between baseline and cap height).
  ASSERT_TRUE(fonts().outline(f, 'O', g));
  ASSERT_EQ(g.contours.size(), 2u);
  bool cubic = false;
  for (const glyph_contour& c : g.contours)
    for (const glyph_segment& s : c.segments) {
      if (s.kind == glyph_segment::cubic) {
        cubic = true;
        EXPECT_EQ(s.points.size() % 3, 0u);
      }
      for (const glyph_point& p : s.points) {
        EXPECT_GT(p.y, -30);
        EXPECT_LT(p.y, 800);
      }
    }
  EXPECT_TRUE(cubic);
  // The euro sign is byte 0x80 in Windows-1252.
  EXPECT_TRUE(fonts().outline(f, 0x80, g));
  // A blank has an advance but no outline.
  EXPECT_FALSE(fonts().outline(f, ' ', g));
  EXPECT_GT(g.cell_inc_x, 0);
  EXPECT_TRUE(g.contours.empty());
}

TEST(QtImageDevice, RectangleBorderAndFill) {
  QtImageDevice dev(100, 100, 96, 96, fonts());
  ASSERT_TRUE(dev.ok());
  dev.select_pen({pen_style::solid, 1, red});
  dev.select_brush({brush_kind::solid, blue, hatch_style::horizontal});
  dev.rectangle(10, 10, 30, 30);
  EXPECT_EQ(pixel(dev, 10, 10), red);
  EXPECT_EQ(pixel(dev, 29, 20), red);
  EXPECT_EQ(pixel(dev, 20, 29), red);
  EXPECT_EQ(pixel(dev, 20, 20), blue);
  EXPECT_EQ(pixel(dev, 30, 20), white);
  EXPECT_EQ(pixel(dev, 20, 30), white);
  EXPECT_EQ(pixel(dev, 9, 9), white);

  // An inside-frame pen keeps a wide border within the box.
  dev.select_pen({pen_style::inside_frame, 6, red});
  dev.select_brush({brush_kind::none, 0, hatch_style::horizontal});
  dev.rectangle(50, 50, 80, 80);
  EXPECT_EQ(pixel(dev, 50, 60), red);
  EXPECT_EQ(pixel(dev, 55, 60), red);
  EXPECT_EQ(pixel(dev, 79, 60), red);
  EXPECT_EQ(pixel(dev, 49, 60), white);
  EXPECT_EQ(pixel(dev, 80, 60), white);
  EXPECT_EQ(pixel(dev, 65, 65), white);

  // fill_rect ignores pen and brush.
  dev.fill_rect(0, 90, 10, 100, yellow);
  EXPECT_EQ(pixel(dev, 0, 90), yellow);
  EXPECT_EQ(pixel(dev, 9, 99), yellow);
  EXPECT_EQ(pixel(dev, 10, 95), white);

  draw_color c;
  EXPECT_FALSE(dev.get_pixel(100, 5, c));
  EXPECT_FALSE(dev.get_pixel(-1, 5, c));
}

TEST(QtImageDevice, LinesPensAndClip) {
  QtImageDevice dev(200, 100, 96, 96, fonts());
  ASSERT_TRUE(dev.ok());
  dev.select_pen({pen_style::solid, 1, red});
  dev.move_to(10, 10);
  dev.line_to(190, 10);
  EXPECT_EQ(pixel(dev, 100, 10), red);
  EXPECT_EQ(pixel(dev, 100, 11), white);
  EXPECT_EQ(pixel(dev, 100, 9), white);

  // A wide pen is centred on the line.
  dev.select_pen({pen_style::solid, 5, blue});
  dev.move_to(10, 30);
  dev.line_to(190, 30);
  EXPECT_EQ(pixel(dev, 100, 28), blue);
  EXPECT_EQ(pixel(dev, 100, 32), blue);
  EXPECT_EQ(pixel(dev, 100, 35), white);

  // A dashed pen leaves gaps; an opaque background fills them.
  dev.set_background_transparent(true);
  dev.select_pen({pen_style::dash, 1, red});
  const draw_point dashed[] = {{0, 50}, {199, 50}};
  dev.polyline(dashed, 2);
  int on = count_color(dev, 0, 50, 200, 51, [](draw_color c) { return c == red; });
  int off = count_color(dev, 0, 50, 200, 51, [](draw_color c) { return c == white; });
  EXPECT_GT(on, 100);
  EXPECT_GT(off, 20);

  // Nothing lands outside the clip rectangle.
  dev.select_pen({pen_style::solid, 1, blue});
  dev.set_clip_rect(50, 0, 100, 100);
  dev.move_to(0, 70);
  dev.line_to(199, 70);
  EXPECT_EQ(pixel(dev, 49, 70), white);
  EXPECT_EQ(pixel(dev, 50, 70), blue);
  EXPECT_EQ(pixel(dev, 99, 70), blue);
  EXPECT_EQ(pixel(dev, 100, 70), white);
  dev.clear_clip();
  dev.move_to(0, 80);
  dev.line_to(199, 80);
  EXPECT_EQ(pixel(dev, 10, 80), blue);

  // A none pen draws nothing, and polyline_to moves the current point.
  dev.select_pen({pen_style::none, 1, red});
  dev.move_to(0, 90);
  dev.line_to(199, 90);
  EXPECT_EQ(pixel(dev, 100, 90), white);
  dev.select_pen({pen_style::solid, 1, red});
  const draw_point run[] = {{20, 95}, {40, 95}};
  dev.move_to(0, 95);
  dev.polyline_to(run, 2);
  dev.line_to(60, 95);
  EXPECT_EQ(pixel(dev, 10, 95), red);
  EXPECT_EQ(pixel(dev, 50, 95), red);
}

TEST(QtImageDevice, HatchesAndBackgroundMode) {
  struct hatch_case {
    hatch_style style;
    int dx, dy;  // a hatch pixel at (x, y) has another at (x + dx, y + dy)
  };
  const hatch_case cases[] = {
      {hatch_style::horizontal, 1, 0},
      {hatch_style::vertical, 0, 1},
      {hatch_style::fdiagonal, 1, 1},   // upper left to lower right
      {hatch_style::bdiagonal, 1, -1},  // lower left to upper right
  };
  for (const hatch_case& h : cases) {
    QtImageDevice dev(64, 64, 96, 96, fonts());
    ASSERT_TRUE(dev.ok());
    dev.set_background_transparent(true);
    dev.select_pen({pen_style::none, 1, 0});
    dev.select_brush({brush_kind::hatched, blue, h.style});
    dev.rectangle(0, 0, 64, 64);
    int hits = 0, along = 0;
    for (int y = 8; y < 56; ++y)
      for (int x = 8; x < 56; ++x)
        if (pixel(dev, x, y) == blue) {
          ++hits;
          if (pixel(dev, x + h.dx, y + h.dy) == blue) ++along;
        }
    EXPECT_GT(hits, 48 * 48 / 16) << static_cast<int>(h.style);
    EXPECT_LT(hits, 48 * 48 / 2) << static_cast<int>(h.style);
    EXPECT_EQ(along, hits) << static_cast<int>(h.style);
    // Transparent: the gaps keep what was there.
    EXPECT_EQ(count_color(dev, 8, 8, 56, 56, [](draw_color c) { return c == white; }), 48 * 48 - hits);
  }
  for (hatch_style s : {hatch_style::cross, hatch_style::diagcross}) {
    QtImageDevice dev(64, 64, 96, 96, fonts());
    dev.set_background_color(yellow);
    dev.set_background_transparent(false);
    dev.select_pen({pen_style::none, 1, 0});
    dev.select_brush({brush_kind::hatched, blue, s});
    dev.rectangle(0, 0, 64, 64);
    // Opaque: the gaps take the background colour.
    int b = count_color(dev, 0, 0, 64, 64, [](draw_color c) { return c == blue; });
    int y = count_color(dev, 0, 0, 64, 64, [](draw_color c) { return c == yellow; });
    EXPECT_GT(b, 64 * 64 / 8);
    EXPECT_EQ(b + y, 64 * 64);
  }
}

TEST(QtImageDevice, FillRulesAndPaths) {
  // A five-pointed star drawn as one polygon: its centre is inside under the
  // winding rule and outside under the alternate rule.
  const draw_point star[] = {{50, 5}, {76, 90}, {8, 37}, {92, 37}, {24, 90}};
  for (bool winding : {true, false}) {
    QtImageDevice dev(100, 100, 96, 96, fonts());
    dev.select_pen({pen_style::none, 1, 0});
    dev.select_brush({brush_kind::solid, blue, hatch_style::horizontal});
    dev.set_fill_winding(winding);
    dev.polygon(star, 5);
    EXPECT_EQ(pixel(dev, 50, 50), winding ? blue : white);
    EXPECT_EQ(pixel(dev, 50, 20), blue);  // a point of the star
    // The same figure as a path.
    QtImageDevice dev2(100, 100, 96, 96, fonts());
    dev2.select_pen({pen_style::solid, 1, red});
    dev2.select_brush({brush_kind::solid, blue, hatch_style::horizontal});
    dev2.set_fill_winding(winding);
    dev2.begin_path();
    dev2.move_to(star[0].x, star[0].y);
    dev2.polyline_to(star + 1, 4);
    dev2.close_figure();
    dev2.end_path();
    EXPECT_EQ(pixel(dev2, 50, 20), white);  // nothing drawn while recording
    dev2.stroke_and_fill_path();
    EXPECT_EQ(pixel(dev2, 50, 50), winding ? blue : white);
    EXPECT_EQ(pixel(dev2, 50, 20), blue);
    EXPECT_EQ(pixel(dev2, 50, 5), red);  // the outline
  }
  // stroke_path only outlines; fill_path only fills; a Bezier figure.
  QtImageDevice dev(100, 100, 96, 96, fonts());
  dev.select_pen({pen_style::solid, 1, red});
  dev.select_brush({brush_kind::solid, blue, hatch_style::horizontal});
  dev.begin_path();
  dev.rectangle(10, 10, 40, 40);
  dev.end_path();
  dev.stroke_path();
  EXPECT_EQ(pixel(dev, 10, 25), red);
  EXPECT_EQ(pixel(dev, 25, 25), white);
  dev.begin_path();
  dev.move_to(60, 90);
  const draw_point hump[] = {{60, 50}, {90, 50}, {90, 90}};
  dev.poly_bezier_to(hump, 3);
  dev.close_figure();
  dev.end_path();
  dev.fill_path();
  EXPECT_EQ(pixel(dev, 75, 80), blue);
  EXPECT_EQ(pixel(dev, 62, 55), white);
}

TEST(QtImageDevice, TextAlignmentEscapementAndBackground) {
  font_spec f;
  f.height = 40;
  auto inked = [](draw_color c) { return dark(c); };
  {
    // Centred on its baseline: ink left and right of x, above the baseline.
    QtImageDevice dev(300, 200, 96, 96, fonts());
    dev.select_font(f);
    dev.set_background_transparent(true);
    dev.set_text_align(text_align_center | text_align_baseline);
    dev.text_out(150, 100, "HHHH");
    int w = fonts().extent(f, "HHHH").cx;
    EXPECT_GT(count_color(dev, 150 - w / 2, 60, 150, 100, inked), 50);
    EXPECT_GT(count_color(dev, 150, 60, 150 + w / 2, 100, inked), 50);
    EXPECT_EQ(count_color(dev, 0, 100, 300, 200, inked), 0);           // nothing below the baseline
    EXPECT_EQ(count_color(dev, 0, 0, 150 - w / 2 - 2, 200, inked), 0);  // nor left of the run
  }
  {
    // Top-left reference: the text hangs below and right of the point.
    QtImageDevice dev(300, 200, 96, 96, fonts());
    dev.select_font(f);
    dev.set_text_align(text_align_left | text_align_top);
    dev.set_background_transparent(true);
    dev.text_out(20, 20, "HHHH");
    EXPECT_EQ(count_color(dev, 0, 0, 300, 20, inked), 0);
    EXPECT_EQ(count_color(dev, 0, 0, 19, 200, inked), 0);
    EXPECT_GT(count_color(dev, 20, 20, 300, 60, inked), 100);
  }
  {
    // 90 degrees: the text runs upward from its reference point.
    QtImageDevice dev(200, 300, 96, 96, fonts());
    f.escapement = 900;
    dev.select_font(f);
    dev.set_text_align(text_align_left | text_align_baseline);
    dev.set_background_transparent(true);
    dev.text_out(100, 250, "HHHH");
    EXPECT_GT(count_color(dev, 60, 100, 100, 250, inked), 100);   // ascenders point left
    EXPECT_EQ(count_color(dev, 101, 0, 200, 300, inked), 0);
    EXPECT_EQ(count_color(dev, 0, 251, 200, 300, inked), 0);
    f.escapement = 0;
  }
  {
    // An opaque background fills the text's cell.
    QtImageDevice dev(300, 100, 96, 96, fonts());
    dev.select_font(f);
    dev.set_background_color(yellow);
    dev.set_background_transparent(false);
    dev.set_text_color(blue);
    dev.set_text_align(text_align_left | text_align_top);
    dev.text_out(10, 10, "ii");
    EXPECT_EQ(pixel(dev, 11, 48), yellow);  // cell bottom, below the baseline
    EXPECT_EQ(pixel(dev, 10, 55), white);
    EXPECT_GT(count_color(dev, 10, 10, 60, 50, [](draw_color c) { return draw_blue(c) > 200 && draw_red(c) < 100; }), 20);
  }
  {
    // Text inside a path becomes glyph outlines.
    QtImageDevice dev(300, 100, 96, 96, fonts());
    dev.select_font(f);
    dev.select_pen({pen_style::none, 1, 0});
    dev.select_brush({brush_kind::solid, red, hatch_style::horizontal});
    dev.set_text_align(text_align_left | text_align_baseline);
    dev.begin_path();
    dev.text_out(10, 60, "HH");
    dev.end_path();
    dev.fill_path();
    EXPECT_GT(count_color(dev, 10, 20, 100, 60, [](draw_color c) { return c == red; }), 100);
  }
}
