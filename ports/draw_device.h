// The drawing device: the small set of drawing operations the graph code
// uses, in integer device pixels. Backends: QPainter (screen, image,
// printer), the enhanced-metafile writer, and the recording device of the
// tests. All rounding stays in the graph code; a device draws what it is
// given. Selected objects (pen, brush, font) stay in force until replaced.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ports/font_engine.h"

// A colour as 0x00BBGGRR (red in the low byte), as programs give colours.
using draw_color = std::uint32_t;
constexpr draw_color draw_rgb(int r, int g, int b) {
  return static_cast<draw_color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int draw_red(draw_color c) { return static_cast<int>(c & 0xFF); }
constexpr int draw_green(draw_color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int draw_blue(draw_color c) { return static_cast<int>((c >> 16) & 0xFF); }

struct draw_point {
  int x = 0;
  int y = 0;
  bool operator==(const draw_point&) const = default;
};

enum class pen_style : int {
  solid = 0,
  dash = 1,
  dot = 2,
  dash_dot = 3,
  dash_dot_dot = 4,
  none = 5,          // draws nothing
  inside_frame = 6,  // solid; a rectangle's or ellipse's border lies inside its bounds
};
struct pen_spec {
  pen_style style = pen_style::solid;
  int width = 1;  // pixels; 0 draws one pixel wide
  draw_color color = 0;
  bool operator==(const pen_spec&) const = default;
};

// Hatch styles, in the order programs number them.
enum class hatch_style : int {
  horizontal = 0,
  vertical = 1,
  fdiagonal = 2,  // upper left to lower right
  bdiagonal = 3,  // lower left to upper right
  cross = 4,
  diagcross = 5,
};
enum class brush_kind : int { none = 0, solid = 1, hatched = 2 };
struct brush_spec {
  brush_kind kind = brush_kind::solid;
  draw_color color = 0;
  hatch_style hatch = hatch_style::horizontal;  // for hatched brushes
  bool operator==(const brush_spec&) const = default;
};

// Reference point of text_out: horizontal and vertical flags or-ed together.
enum text_align_flags : int {
  text_align_left = 0,
  text_align_right = 2,
  text_align_center = 6,
  text_align_top = 0,
  text_align_bottom = 8,
  text_align_baseline = 24,
};

class DrawDevice {
 public:
  virtual ~DrawDevice() = default;

  // The device's size in pixels and its resolution.
  virtual int width_px() const = 0;
  virtual int height_px() const = 0;
  virtual double px_per_inch_x() const = 0;
  virtual double px_per_inch_y() const = 0;
  // The font engine this device measures and draws text with.
  virtual FontEngine& font_engine() = 0;

  // Drawing state.
  virtual void select_pen(const pen_spec& pen) = 0;
  virtual void select_brush(const brush_spec& brush) = 0;
  virtual void select_font(const font_spec& font) = 0;
  virtual void set_text_color(draw_color color) = 0;
  virtual void set_text_align(int flags) = 0;
  // Transparent: hatches and text leave the background as it is; opaque:
  // their gaps are filled with the background colour.
  virtual void set_background_transparent(bool transparent) = 0;
  virtual void set_background_color(draw_color color) = 0;
  // Fill rule of polygons and paths: winding (true) or alternate (false).
  virtual void set_fill_winding(bool winding) = 0;
  // Limits drawing to the rectangle (right and bottom exclusive); clear_clip
  // lifts the limit.
  virtual void set_clip_rect(int left, int top, int right, int bottom) = 0;
  virtual void clear_clip() = 0;

  // Lines and curves. The current point moves to the last point drawn.
  virtual void move_to(int x, int y) = 0;
  virtual void line_to(int x, int y) = 0;
  virtual void polyline(const draw_point* points, std::size_t count) = 0;       // does not use or move the current point
  virtual void polyline_to(const draw_point* points, std::size_t count) = 0;    // from the current point
  virtual void poly_bezier(const draw_point* points, std::size_t count) = 0;    // 1 + 3n points
  virtual void poly_bezier_to(const draw_point* points, std::size_t count) = 0; // 3n points from the current point
  // Filled figures: inside with the brush, border with the pen.
  virtual void rectangle(int left, int top, int right, int bottom) = 0;
  virtual void ellipse(int left, int top, int right, int bottom) = 0;
  virtual void polygon(const draw_point* points, std::size_t count) = 0;
  // Fills a rectangle with a colour, ignoring pen and brush (backgrounds).
  virtual void fill_rect(int left, int top, int right, int bottom, draw_color color) = 0;

  // Paths: figures drawn between begin_path and end_path are recorded, not
  // drawn; then stroked with the pen, filled with the brush, or both.
  virtual void begin_path() = 0;
  virtual void end_path() = 0;
  virtual void close_figure() = 0;
  virtual void stroke_path() = 0;
  virtual void fill_path() = 0;
  virtual void stroke_and_fill_path() = 0;

  // Text in the selected font and text colour at the reference point chosen
  // by set_text_align; the font's escapement turns it.
  virtual void text_out(int x, int y, std::string_view text) = 0;

  // The colour of one pixel, on devices that hold pixels. False elsewhere
  // (printers, metafiles) or outside the device.
  virtual bool get_pixel(int x, int y, draw_color& color) = 0;
};
