// A drawing device for tests: records every call as one line of text
// ("line_to 10 20", "select_pen solid 2 0x0000ff") and keeps the drawing
// state, so tests can check the calls the graph code makes. Its font engine
// is a fixed-pitch fake with exact, predictable metrics.
#pragma once
#include <string>
#include <vector>

#include "ports/draw_device.h"

// Every character is 0.5 x height wide; ascent 0.8 x height; one square
// glyph outline per printable character, none for the blank.
class FakeFontEngine final : public FontEngine {
 public:
  bool fail = false;  // metrics() and outline() refuse every font
  std::string no_glyph;     // characters the face has no glyph for
  std::string empty_glyph;  // characters whose glyph has no contours (a cell increment only)
  std::string outlined;     // every character outline() was asked for, in order
  bool metrics(const font_spec& font, font_metrics& out) override;
  text_size extent(const font_spec& font, std::string_view text) override;
  std::vector<int> advances(const font_spec& font, std::string_view text) override;
  bool outline(const font_spec& font, unsigned char ch, glyph_outline& out) override;
};

class RecordingDevice final : public DrawDevice {
 public:
  RecordingDevice(int width = 800, int height = 600, double ppi_x = 96, double ppi_y = 96)
      : width_(width), height_(height), ppi_x_(ppi_x), ppi_y_(ppi_y) {}

  std::vector<std::string> calls;
  pen_spec pen;
  brush_spec brush;
  font_spec font;
  draw_color text_color = 0;
  draw_point current;
  bool in_path = false;
  FakeFontEngine fonts;

  // The calls whose text starts with prefix.
  std::vector<std::string> calls_starting(const std::string& prefix) const;

  int width_px() const override { return width_; }
  int height_px() const override { return height_; }
  double px_per_inch_x() const override { return ppi_x_; }
  double px_per_inch_y() const override { return ppi_y_; }
  FontEngine& font_engine() override { return fonts; }

  void select_pen(const pen_spec& p) override;
  void select_brush(const brush_spec& b) override;
  void select_font(const font_spec& f) override;
  void set_text_color(draw_color color) override;
  void set_text_align(int flags) override;
  void set_background_transparent(bool transparent) override;
  void set_background_color(draw_color color) override;
  void set_fill_winding(bool winding) override;
  void set_clip_rect(int left, int top, int right, int bottom) override;
  void clear_clip() override;
  void move_to(int x, int y) override;
  void line_to(int x, int y) override;
  void polyline(const draw_point* points, std::size_t count) override;
  void polyline_to(const draw_point* points, std::size_t count) override;
  void poly_bezier(const draw_point* points, std::size_t count) override;
  void poly_bezier_to(const draw_point* points, std::size_t count) override;
  void rectangle(int left, int top, int right, int bottom) override;
  void ellipse(int left, int top, int right, int bottom) override;
  void polygon(const draw_point* points, std::size_t count) override;
  void fill_rect(int left, int top, int right, int bottom, draw_color color) override;
  void begin_path() override;
  void end_path() override;
  void close_figure() override;
  void stroke_path() override;
  void fill_path() override;
  void stroke_and_fill_path() override;
  void text_out(int x, int y, std::string_view text) override;
  bool get_pixel(int x, int y, draw_color& color) override;

 private:
  void record(std::string call) { calls.push_back(std::move(call)); }
  std::string points_text(const char* name, const draw_point* points, std::size_t count);
  int width_, height_;
  double ppi_x_, ppi_y_;
};
