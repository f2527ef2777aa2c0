// Drawing devices on QPainter: one over any active painter (a widget's paint
// event, a printer page), and one that owns an image and can read its
// pixels back. Geometry is drawn aliased so integer pixels land where the
// graph code puts them; text is anti-aliased.
#pragma once
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <memory>

#include "frontend/qt/draw/qt_font_engine.h"
#include "ports/draw_device.h"

class QtPainterDevice : public DrawDevice {
 public:
  // painter must stay active while the device is used. The drawing state
  // starts as a fresh device context's: black one-pixel pen, white solid
  // brush, opaque white background, black text at its top-left, alternate
  // fill.
  QtPainterDevice(QPainter& painter, int width_px, int height_px, double ppi_x, double ppi_y, QtFontEngine& fonts);

  int width_px() const override { return width_; }
  int height_px() const override { return height_; }
  double px_per_inch_x() const override { return ppi_x_; }
  double px_per_inch_y() const override { return ppi_y_; }
  FontEngine& font_engine() override { return fonts_; }

  void select_pen(const pen_spec& pen) override;
  void select_brush(const brush_spec& brush) override;
  void select_font(const font_spec& font) override;
  void set_text_color(draw_color color) override { text_color_ = color; }
  void set_text_align(int flags) override { text_align_ = flags; }
  void set_background_transparent(bool transparent) override;
  void set_background_color(draw_color color) override;
  void set_fill_winding(bool winding) override { winding_ = winding; }
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

  // A clip that stays under every set_clip_rect and clear_clip (a printed
  // page's graph rectangle). Right and bottom exclusive.
  void set_base_clip(int left, int top, int right, int bottom);

 protected:
  QPainter& painter() { return painter_; }
  // Puts the device's render hints and background on the painter (after
  // the painter begins on its target).
  void apply_painter_state();
  // Pixel read-back for devices that hold pixels.
  virtual bool read_pixel(int x, int y, draw_color& color) { return false; }

 private:
  QPen make_pen() const;
  QBrush make_brush() const;
  Qt::FillRule fill_rule() const { return winding_ ? Qt::WindingFill : Qt::OddEvenFill; }
  // Strokes (and fills) a figure, or records it while a path is open.
  void draw_open(const QPainterPath& figure);
  void draw_closed(const QPainterPath& outline, const QPainterPath& fill_area);
  void ensure_figure();

  QPainter& painter_;
  int width_, height_;
  double ppi_x_, ppi_y_;
  QtFontEngine& fonts_;

  pen_spec pen_{pen_style::solid, 1, 0};
  brush_spec brush_{brush_kind::solid, draw_rgb(255, 255, 255), hatch_style::horizontal};
  font_spec font_;
  draw_color text_color_ = 0;
  int text_align_ = text_align_left | text_align_top;
  bool transparent_ = false;
  draw_color background_ = draw_rgb(255, 255, 255);
  bool winding_ = false;
  draw_point current_;

  bool has_base_clip_ = false;
  QRectF base_clip_;
  bool recording_ = false;    // between begin_path and end_path
  bool figure_open_ = false;  // the path has a figure that a line may continue
  QPainterPath path_;
};

// An RGB image of its own with a device over it; get_pixel reads it.
class QtImageDevice final : public QtPainterDevice {
 public:
  // ok() is false when the image could not be allocated.
  QtImageDevice(int width_px, int height_px, double ppi_x, double ppi_y, QtFontEngine& fonts,
                draw_color fill = draw_rgb(255, 255, 255));
  ~QtImageDevice() override;
  bool ok() const { return ok_; }
  // The image so far (the painter stays active; raster drawing is immediate).
  const QImage& image() const { return *image_; }

 protected:
  bool read_pixel(int x, int y, draw_color& color) override;

 private:
  struct holder {
    QImage image;
    QPainter painter;
  };
  QtImageDevice(std::unique_ptr<holder> h, int width_px, int height_px, double ppi_x, double ppi_y,
                QtFontEngine& fonts, draw_color fill);
  std::unique_ptr<holder> holder_;
  const QImage* image_;
  bool ok_ = false;
};
