// A drawing device that holds one pixel: the one under a mouse click. It
// starts black and turns to the colour of anything drawn over it: a stroke
// whose pen covers the pixel, or a fill (polygon, rectangle, ellipse, filled
// path) that contains its centre, by the fill rule in force. The hit test
// draws into it instead of an off-screen bitmap of the whole window: the same
// answer for the one pixel it reads, without a toolkit.
#pragma once
#include <vector>

#include "ports/draw_device.h"

class ShapeHitProbe final : public DrawDevice {
 public:
  ShapeHitProbe(FontEngine& fonts, int width, int height, double ppi_x, double ppi_y, int probe_x, int probe_y)
      : fonts_(fonts), width_(width), height_(height), ppi_x_(ppi_x), ppi_y_(ppi_y), probe_x_(probe_x),
        probe_y_(probe_y) {}

  // The probed pixel's colour (0 until something covers it).
  draw_color colour() const { return colour_; }

  int width_px() const override { return width_; }
  int height_px() const override { return height_; }
  double px_per_inch_x() const override { return ppi_x_; }
  double px_per_inch_y() const override { return ppi_y_; }
  FontEngine& font_engine() override { return fonts_; }

  void select_pen(const pen_spec& pen) override { pen_ = pen; }
  void select_brush(const brush_spec& brush) override { brush_ = brush; }
  void select_font(const font_spec&) override {}
  void set_text_color(draw_color) override {}
  void set_text_align(int) override {}
  void set_background_transparent(bool) override {}
  void set_background_color(draw_color) override {}
  void set_fill_winding(bool winding) override { winding_ = winding; }
  void set_clip_rect(int left, int top, int right, int bottom) override;
  void clear_clip() override { clipped_out_ = false; }

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

  void text_out(int, int, std::string_view) override {}
  bool get_pixel(int x, int y, draw_color& color) override;

 private:
  struct pointf {
    double x, y;
  };
  struct figure {
    std::vector<pointf> points;
    bool closed = false;
  };
  // A run of straight segments from the current point (or from points[0]).
  void add_line(pointf to);
  void add_bezier(pointf p1, pointf p2, pointf p3);
  void stroke_run(const std::vector<pointf>& run, bool closed);
  void fill_outline(const std::vector<const std::vector<pointf>*>& outlines);
  void stroke_figures();
  void fill_figures();
  void paint(draw_color c) {
    if (!clipped_out_ && c != 0) colour_ = c;
  }

  FontEngine& fonts_;
  int width_, height_;
  double ppi_x_, ppi_y_;
  int probe_x_, probe_y_;
  draw_color colour_ = 0;
  pen_spec pen_;
  brush_spec brush_;
  bool winding_ = false;
  bool clipped_out_ = false;
  pointf current_{0, 0};
  bool in_path_ = false;
  std::vector<figure> figures_;
};
