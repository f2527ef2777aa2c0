// The font engine: fonts by description, their metrics, text extents, glyph
// advances and glyph outlines. One engine serves every drawing device, so
// screen, image, printer and metafile measure and draw the same text. Text is
// bytes, each mapped through Windows-1252.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A font as the graph code asks for it. height is the cell height in device
// pixels (positive); escapement turns the baseline counter-clockwise in
// tenths of a degree.
struct font_spec {
  int height = 0;
  int width = 0;        // average character width; 0: the face's natural width
  int escapement = 0;   // tenths of a degree, counter-clockwise
  int weight = 400;     // 100..1000; 400 normal, 700 bold; 0 the default (400)
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  bool fixed_pitch = false;  // family: fixed pitch ("modern") instead of proportional ("swiss")
  std::string face;          // empty: the family's default face
  bool operator==(const font_spec&) const = default;
};

// Metrics of a font, in device pixels.
struct font_metrics {
  int height = 0;            // cell height: ascent + descent
  int ascent = 0;
  int descent = 0;
  int internal_leading = 0;
  int external_leading = 0;
  int average_char_width = 0;
  int max_char_width = 0;
};

struct text_size {
  int cx = 0;
  int cy = 0;
};

// One glyph's outline in font units (the font's cell height in pixels at
// the requested size), y upwards, relative to the pen position on the
// baseline. Each contour is closed; segments are lines or cubic Beziers.
struct glyph_point {
  double x = 0;
  double y = 0;
};
struct glyph_segment {
  enum kind_t : int { line = 1, cubic = 3 } kind = line;
  std::vector<glyph_point> points;  // line: the end points; cubic: 3 points per curve
};
struct glyph_contour {
  glyph_point start;
  std::vector<glyph_segment> segments;
};
struct glyph_outline {
  int black_box_x = 0;     // width and height of the black box
  int black_box_y = 0;
  int origin_x = 0;        // upper-left corner of the black box
  int origin_y = 0;
  int cell_inc_x = 0;      // advance
  int cell_inc_y = 0;
  std::vector<glyph_contour> contours;
};

class FontEngine {
 public:
  virtual ~FontEngine() = default;
  // Metrics of the font spec describes. False when no font can be made.
  virtual bool metrics(const font_spec& font, font_metrics& out) = 0;
  // Width and height of text (no turning) in the font.
  virtual text_size extent(const font_spec& font, std::string_view text) = 0;
  // The advance of each character of text, in pixels.
  virtual std::vector<int> advances(const font_spec& font, std::string_view text) = 0;
  // The outline of character ch (a Windows-1252 byte). False when the font
  // has no outline for it (outline is then empty).
  virtual bool outline(const font_spec& font, unsigned char ch, glyph_outline& out) = 0;
};

// Windows-1252 byte to Unicode code point (undefined bytes map to themselves).
char32_t cp1252_to_unicode(unsigned char byte);

// The font engine of the graph window's devices, for measuring outside a
// render (TEXT and text shapes are measured as they are given). The
// front-end installs the engine its devices share; the default makes no
// fonts (without a display no graph window can be open).
FontEngine& graph_font_engine();
void install_graph_font_engine(FontEngine* engine);  // nullptr restores the default
