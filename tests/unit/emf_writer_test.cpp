// The enhanced-metafile writer: the records parsed back one by one, and the
// file read by a real converter (emf2svg-conv) when it is installed.
#include "graph/emf_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tests/support/recording_device.h"
#include "tests/support/test_files.h"

namespace {

std::string temp_path(const char* name) { return test_temp_path("tov-emf", name); }

std::uint32_t u32(const std::vector<std::uint8_t>& d, std::size_t at) {
  return static_cast<std::uint32_t>(d.at(at)) | static_cast<std::uint32_t>(d.at(at + 1)) << 8 |
         static_cast<std::uint32_t>(d.at(at + 2)) << 16 | static_cast<std::uint32_t>(d.at(at + 3)) << 24;
}
std::int32_t i32(const std::vector<std::uint8_t>& d, std::size_t at) { return static_cast<std::int32_t>(u32(d, at)); }

struct parsed_record {
  std::uint32_t type;
  std::size_t offset;
  std::uint32_t size;
};

// Walks the records, checking what every metafile must hold; returns them.
std::vector<parsed_record> parse(const std::vector<std::uint8_t>& d) {
  std::vector<parsed_record> out;
  EXPECT_GE(d.size(), 108u);
  if (d.size() < 108) return out;
  EXPECT_EQ(u32(d, 0), 1u);
  EXPECT_EQ(u32(d, 40), 0x464D4520u);
  EXPECT_EQ(u32(d, 48), d.size());  // nBytes
  std::size_t at = 0;
  while (at < d.size()) {
    std::uint32_t size = u32(d, at + 4);
    EXPECT_GE(size, 8u);
    EXPECT_EQ(size % 4, 0u) << "record at " << at;
    if (size < 8 || at + size > d.size()) {
      ADD_FAILURE() << "record overruns the file at " << at;
      break;
    }
    out.push_back({u32(d, at), at, size});
    at += size;
  }
  EXPECT_EQ(out.size(), u32(d, 52));  // nRecords
  EXPECT_FALSE(out.empty());
  if (!out.empty()) {
    EXPECT_EQ(out.back().type, 14u) << "EOF last";
  }
  // Objects: every select and delete names a live object or a stock one, and
  // nHandles is the highest index used + 1.
  std::set<std::uint32_t> live;
  std::uint32_t highest = 0;
  for (const parsed_record& r : out) {
    std::uint32_t h = r.size >= 12 ? u32(d, r.offset + 8) : 0;
    switch (r.type) {
      case emr_extcreatepen:
      case emr_createbrushindirect:
      case emr_extcreatefontindirectw:
        EXPECT_EQ(live.count(h), 0u) << "handle reused while alive";
        EXPECT_GT(h, 0u);
        live.insert(h);
        highest = std::max(highest, h);
        break;
      case emr_selectobject:
        if (!(h & 0x80000000u)) {
          EXPECT_EQ(live.count(h), 1u) << "select of a dead object " << h;
        }
        break;
      case emr_deleteobject:
        EXPECT_EQ(live.erase(h), 1u) << "delete of a dead object " << h;
        break;
      default: break;
    }
  }
  EXPECT_EQ(d[56] | d[57] << 8, highest + 1);
  // Bounds never empty.
  EXPECT_LE(i32(d, 8), i32(d, 16));
  EXPECT_LE(i32(d, 12), i32(d, 20));
  return out;
}

std::vector<const parsed_record*> of_type(const std::vector<parsed_record>& recs, std::uint32_t type) {
  std::vector<const parsed_record*> out;
  for (const parsed_record& r : recs)
    if (r.type == type) out.push_back(&r);
  return out;
}

// A small graph-like drawing: background, frame, a dashed grid line, a
// polyline, a curve, hatched and solid shapes, turned and plain text, a path.
void draw_sample(DrawDevice& dev) {
  dev.fill_rect(0, 0, dev.width_px(), dev.height_px(), draw_rgb(255, 255, 255));
  dev.set_background_transparent(true);
  dev.select_pen({pen_style::inside_frame, 3, draw_rgb(0, 0, 0)});
  dev.select_brush({brush_kind::none, 0, hatch_style::horizontal});
  dev.rectangle(10, 10, 390, 290);
  dev.select_pen({pen_style::dash, 1, draw_rgb(128, 128, 128)});
  dev.move_to(10, 150);
  dev.line_to(390, 150);
  dev.select_pen({pen_style::solid, 2, draw_rgb(255, 0, 0)});
  const draw_point line[] = {{20, 280}, {100, 100}, {200, 200}, {380, 20}};
  dev.polyline(line, 4);
  const draw_point curve[] = {{20, 20}, {100, 200}, {200, 0}, {300, 150}};
  dev.poly_bezier(curve, 4);
  dev.select_pen({pen_style::solid, 1, draw_rgb(0, 0, 255)});
  dev.select_brush({brush_kind::hatched, draw_rgb(0, 128, 0), hatch_style::diagcross});
  dev.rectangle(50, 200, 120, 260);
  dev.select_brush({brush_kind::solid, draw_rgb(0, 0, 255), hatch_style::horizontal});
  dev.ellipse(150, 200, 220, 260);
  const draw_point tri[] = {{250, 260}, {300, 200}, {350, 260}};
  dev.set_fill_winding(true);
  dev.polygon(tri, 3);
  font_spec f;
  f.height = 24;
  f.weight = 700;
  dev.select_font(f);
  dev.set_text_color(draw_rgb(255, 0, 255));
  dev.set_text_align(text_align_center | text_align_baseline);
  dev.text_out(200, 60, "Tovarelle \x80 5");
  f.escapement = 900;
  f.weight = 400;
  dev.select_font(f);
  dev.text_out(30, 200, "Axis");
  dev.set_clip_rect(0, 0, 200, 300);
  dev.begin_path();
  dev.move_to(300, 40);
  const draw_point box[] = {{360, 40}, {360, 80}, {300, 80}};
  dev.polyline_to(box, 3);
  dev.close_figure();
  dev.end_path();
  dev.stroke_and_fill_path();
  dev.clear_clip();
}

emf_reference sample_reference() { return {4960, 7015, 210, 297, 600, 600}; }

}  // namespace

TEST(EmfWriter, HeaderRecordsAndObjects) {
  FakeFontEngine fonts;
  // A 7.5 x 10 inch graph on a 600-dpi reference whose millimetre size
  // matches its resolution: a frame of 19050 x 25400.
  EmfWriter emf(sample_reference(), 4501, 6001, 19050, 25400, fonts);
  draw_sample(emf);
  const std::vector<std::uint8_t>& d = emf.finish();
  std::vector<parsed_record> recs = parse(d);

  EXPECT_EQ(i32(d, 24), 0);
  EXPECT_EQ(i32(d, 28), 0);
  EXPECT_EQ(i32(d, 32), 19050);
  EXPECT_EQ(i32(d, 36), 25400);
  EXPECT_EQ(i32(d, 72), 4960);  // device size in pixels and millimetres
  EXPECT_EQ(i32(d, 76), 7015);
  EXPECT_EQ(i32(d, 80), 210);
  EXPECT_EQ(i32(d, 84), 297);
  // Bounds: what was drawn (the background covers the drawing's whole area).
  EXPECT_EQ(i32(d, 8), 0);
  EXPECT_EQ(i32(d, 12), 0);
  EXPECT_EQ(i32(d, 16), 4500);
  EXPECT_EQ(i32(d, 20), 6000);

  // Pens are extended pens; the wide inside-frame pen is geometric.
  auto pens = of_type(recs, emr_extcreatepen);
  ASSERT_EQ(pens.size(), 4u);
  EXPECT_EQ(u32(d, pens[0]->offset + 28), 0x00010006u);
  EXPECT_EQ(u32(d, pens[0]->offset + 32), 3u);
  EXPECT_EQ(u32(d, pens[1]->offset + 28), 1u);  // cosmetic dash
  EXPECT_EQ(u32(d, pens[2]->offset + 40), 0x0000FFu);  // red as 0x00BBGGRR
  // Brushes: the background's solid one, the hatch, the solid blue one.
  auto brushes = of_type(recs, emr_createbrushindirect);
  ASSERT_EQ(brushes.size(), 3u);
  EXPECT_EQ(u32(d, brushes[1]->offset + 12), 2u);  // hatched
  EXPECT_EQ(u32(d, brushes[1]->offset + 20), 5u);  // diagonal cross
  // Fonts: a bold one and a turned one, their character heights negative.
  auto fonts_made = of_type(recs, emr_extcreatefontindirectw);
  ASSERT_EQ(fonts_made.size(), 2u);
  EXPECT_EQ(fonts_made[0]->size, 368u);
  EXPECT_EQ(i32(d, fonts_made[0]->offset + 12), -24);  // the fake font has no internal leading
  EXPECT_EQ(i32(d, fonts_made[0]->offset + 28), 700);
  EXPECT_EQ(i32(d, fonts_made[1]->offset + 20), 900);
  EXPECT_EQ(d[fonts_made[1]->offset + 40], 'A');  // "Arial" for the default face
  // Text: UTF-16 with the font engine's advances.
  auto texts = of_type(recs, emr_exttextoutw);
  ASSERT_EQ(texts.size(), 2u);
  std::size_t t = texts[0]->offset;
  EXPECT_EQ(i32(d, t + 36), 200);
  EXPECT_EQ(i32(d, t + 40), 60);
  std::uint32_t n = u32(d, t + 44);
  ASSERT_EQ(n, 13u);
  std::uint32_t off_string = u32(d, t + 48), off_dx = u32(d, t + 72);
  EXPECT_EQ(d[t + off_string] | d[t + off_string + 1] << 8, 'T');
  EXPECT_EQ(d[t + off_string + 20] | d[t + off_string + 21] << 8, 0x20AC);  // byte 0x80 is the euro sign
  for (std::uint32_t i = 0; i < n; ++i) EXPECT_EQ(i32(d, t + off_dx + 4 * i), 12);
  EXPECT_LE(off_dx + 4 * n, texts[0]->size);
  // Points in the 16-bit forms, the path and clipping records present.
  EXPECT_EQ(of_type(recs, emr_polyline16).size(), 1u);
  EXPECT_EQ(of_type(recs, emr_polybezier16).size(), 1u);
  EXPECT_EQ(of_type(recs, emr_polygon16).size(), 1u);
  EXPECT_EQ(of_type(recs, emr_polylineto16).size(), 1u);
  EXPECT_EQ(of_type(recs, emr_beginpath).size(), 1u);
  EXPECT_EQ(of_type(recs, emr_strokeandfillpath).size(), 1u);
  EXPECT_EQ(of_type(recs, emr_intersectcliprect).size(), 1u);
  EXPECT_EQ(of_type(recs, emr_selectcliprgn).size(), 1u);
}

// A path as readers expect it: no stray end or stroke, the pen and brush
// that stroke and fill it made in front of its bracket, and a fresh
// context's pen and brush selected at the start.
TEST(EmfWriter, PathBracketsHoldOnlyTheFigure) {
  FakeFontEngine fonts;
  EmfWriter emf(sample_reference(), 100, 100, 2540, 2540, fonts);
  emf.end_path();  // no path open: nothing to end or stroke
  emf.stroke_path();
  emf.begin_path();
  emf.select_pen({pen_style::solid, 2, draw_rgb(255, 0, 0)});
  emf.move_to(10, 10);
  emf.line_to(50, 50);
  emf.end_path();
  emf.select_brush({brush_kind::hatched, draw_rgb(0, 128, 0), hatch_style::cross});
  emf.stroke_and_fill_path();
  emf.fill_path();  // the stroke used the path up
  std::vector<std::uint32_t> types;
  for (const parsed_record& r : parse(emf.finish())) types.push_back(r.type);
  const std::vector<std::uint32_t> expected = {
      emr_header,   emr_selectobject, emr_selectobject, emr_extcreatepen, emr_selectobject,
      emr_createbrushindirect, emr_selectobject, emr_beginpath, emr_movetoex, emr_lineto,
      emr_endpath,  emr_strokeandfillpath, emr_eof};
  EXPECT_EQ(types, expected);
}

TEST(EmfWriter, EmptyDrawingLargeCoordinatesAndHandleReuse) {
  FakeFontEngine fonts;
  {
    // Nothing drawn: the bounds are the whole drawing, never empty.
    EmfWriter emf(sample_reference(), 100, 50, 423, 211, fonts);
    const auto& d = emf.finish();
    parse(d);
    EXPECT_EQ(i32(d, 16), 99);
    EXPECT_EQ(i32(d, 20), 49);
    EXPECT_EQ(d[56] | d[57] << 8, 1);  // no objects: one handle, the metafile's own
  }
  {
    // Coordinates beyond 16 bits take the 32-bit record forms.
    EmfWriter emf(sample_reference(), 100000, 100000, 1000, 1000, fonts);
    const draw_point far[] = {{0, 0}, {70000, 5}};
    emf.polyline(far, 2);
    // Many pens in turn reuse the few handles they need.
    for (int i = 0; i < 50; ++i) {
      emf.select_pen({pen_style::solid, 1 + i % 3, draw_rgb(i, 0, 0)});
      emf.line_to(i, i);
    }
    const auto& d = emf.finish();
    auto recs = parse(d);
    auto lines = of_type(recs, emr_polyline);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(i32(d, lines[0]->offset + 36), 70000);  // second point's x
    EXPECT_LE(d[56] | d[57] << 8, 3);
    // Drawing after finish changes nothing.
    std::size_t size = d.size();
    emf.line_to(5, 5);
    EXPECT_EQ(emf.finish().size(), size);
  }
}

TEST(EmfWriter, SaveReportsFailureAndLeavesNoFile) {
  FakeFontEngine fonts;
  EmfWriter emf(sample_reference(), 100, 100, 423, 423, fonts);
  emf.line_to(10, 10);
  EXPECT_FALSE(emf.save("/nonexistent-folder/x.emf"));
  EXPECT_NE(emf.error().find("/nonexistent-folder"), std::string::npos) << emf.error();

  if (have_program("true") && access("/dev/full", W_OK) == 0) {
    // A device that refuses every write: the failure is reported.
    EmfWriter full(sample_reference(), 100, 100, 423, 423, fonts);
    full.line_to(10, 10);
    EXPECT_FALSE(full.save("/dev/full"));
    EXPECT_FALSE(full.error().empty());
  }

  std::string path = temp_path("ok.emf");
  EmfWriter good(sample_reference(), 100, 100, 423, 423, fonts);
  good.line_to(10, 10);
  ASSERT_TRUE(good.save(path)) << good.error();
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(static_cast<std::size_t>(st.st_size), good.finish().size());
  std::remove(path.c_str());
}

TEST(EmfWriter, ReadBackByEmf2Svg) {
  if (!have_program("emf2svg-conv")) GTEST_SKIP() << "emf2svg-conv is not installed";
  FakeFontEngine fonts;
  EmfWriter emf({1920, 1080, 508, 286, 96, 96}, 400, 300, 10583, 7937, fonts);
  draw_sample(emf);
  std::string emf_path = temp_path("sample.emf"), svg_path = temp_path("sample.svg");
  ASSERT_TRUE(emf.save(emf_path)) << emf.error();
  std::string cmd = "emf2svg-conv -i '" + emf_path + "' -o '" + svg_path + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::string svg = read_text(svg_path);
  std::remove(emf_path.c_str());
  std::remove(svg_path.c_str());
  ASSERT_FALSE(svg.empty());
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  // The texts, the colours of pen, brush and text, and the drawn elements.
  EXPECT_NE(svg.find("Tovarelle"), std::string::npos);
  EXPECT_NE(svg.find("\xE2\x82\xAC"), std::string::npos) << "euro sign in UTF-8";
  EXPECT_NE(svg.find("Axis"), std::string::npos);
  EXPECT_NE(svg.find("#FF0000"), std::string::npos);
  EXPECT_NE(svg.find("#0000FF"), std::string::npos);
  EXPECT_NE(svg.find("#FF00FF"), std::string::npos);
  EXPECT_NE(svg.find("#008000"), std::string::npos);
  EXPECT_NE(svg.find("<path"), std::string::npos);
  EXPECT_NE(svg.find("<ellipse"), std::string::npos);
  EXPECT_NE(svg.find("rotate("), std::string::npos);
}
