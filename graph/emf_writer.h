// An enhanced-metafile writer as a drawing device: every drawing call becomes
// a metafile record in device pixels of a reference device (a printer or the
// screen); text is written as UTF-16 with the advances of the shared font
// engine, so a reader lays it out as it was measured. The file is assembled
// in memory and written whole by save().
//
// Records: a header (bounds of what was drawn, never empty; the frame in
// hundredths of a millimetre; file size, record count, handle count; the
// reference device's size in pixels and millimetres), pens as extended pens,
// brushes (solid, hatched, stock null), fonts as extended logical fonts,
// select and delete object, modes, move-to, line-to, polylines and Bezier
// runs (16-bit point forms when every point fits), rectangles, ellipses,
// polygons, clip rectangles, paths, and text; end-of-file last. Every record
// is a multiple of four bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ports/draw_device.h"

// The device a metafile is rendered for.
struct emf_reference {
  int device_width_px = 0;   // the device's full size in pixels
  int device_height_px = 0;
  int width_mm = 0;          // and in millimetres
  int height_mm = 0;
  double ppi_x = 96;         // its pixels per inch: the drawing's resolution
  double ppi_y = 96;
};

// Record types used (the metafile format's numbers).
enum emf_record_type : std::uint32_t {
  emr_header = 1,
  emr_polybezier = 2,
  emr_polygon = 3,
  emr_polyline = 4,
  emr_polybezierto = 5,
  emr_polylineto = 6,
  emr_eof = 14,
  emr_setpolyfillmode = 19,
  emr_setbkmode = 18,
  emr_settextalign = 22,
  emr_settextcolor = 24,
  emr_setbkcolor = 25,
  emr_movetoex = 27,
  emr_intersectcliprect = 30,
  emr_selectobject = 37,
  emr_createbrushindirect = 39,
  emr_deleteobject = 40,
  emr_ellipse = 42,
  emr_rectangle = 43,
  emr_lineto = 54,
  emr_beginpath = 59,
  emr_endpath = 60,
  emr_closefigure = 61,
  emr_fillpath = 62,
  emr_strokeandfillpath = 63,
  emr_strokepath = 64,
  emr_selectcliprgn = 67,
  emr_extcreatefontindirectw = 82,
  emr_exttextoutw = 84,
  emr_polybezier16 = 85,
  emr_polygon16 = 86,
  emr_polyline16 = 87,
  emr_polybezierto16 = 88,
  emr_polylineto16 = 89,
  emr_extcreatepen = 95,
};

class EmfWriter final : public DrawDevice {
 public:
  // A drawing of width_px x height_px pixels of the reference device, whose
  // picture frame is (0, 0) to (frame_right, frame_bottom) in hundredths of
  // a millimetre.
  EmfWriter(const emf_reference& reference, int width_px, int height_px, int frame_right, int frame_bottom,
            FontEngine& fonts);

  int width_px() const override { return width_; }
  int height_px() const override { return height_; }
  double px_per_inch_x() const override { return ref_.ppi_x; }
  double px_per_inch_y() const override { return ref_.ppi_y; }
  FontEngine& font_engine() override { return fonts_; }

  void select_pen(const pen_spec& pen) override;
  void select_brush(const brush_spec& brush) override;
  void select_font(const font_spec& font) override;
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
  bool get_pixel(int x, int y, draw_color& color) override { return false; }

  // Ends the metafile (end-of-file record, header completed) and returns its
  // bytes; later drawing calls are ignored. Empty when the metafile could
  // not be built (error() says why).
  const std::vector<std::uint8_t>& finish();
  // Finishes and writes the file whole. False with error() set on any
  // failure; no partial file is left behind.
  bool save(const std::string& path);
  const std::string& error() const { return error_; }

 private:
  struct rect {
    int left, top, right, bottom;
  };
  // Record assembly.
  std::size_t begin_record(std::uint32_t type);
  void end_record(std::size_t start);
  void put_u32(std::uint32_t v);
  void put_i32(std::int32_t v) { put_u32(static_cast<std::uint32_t>(v)); }
  void put_u16(std::uint16_t v);
  void put_f32(float v);
  void put_rect(const rect& r);
  void put_bytes(const void* data, std::size_t size);
  void patch_u32(std::size_t at, std::uint32_t v);
  bool usable() const { return !finished_ && !failed_; }
  void fail(const std::string& why);
  void simple_record(std::uint32_t type, std::initializer_list<std::uint32_t> values);

  // Objects.
  std::uint32_t new_handle();
  void release_handle(std::uint32_t handle);  // deletes a created object (not a stock one)
  void apply_pen();
  void apply_brush();
  void apply_font();

  // Bounds of what is drawn.
  rect points_bounds(const draw_point* points, std::size_t count) const;
  void touch(rect r, bool stroked);
  bool take_path(bool pen, bool brush);
  void points_record(std::uint32_t type16, std::uint32_t type32, const draw_point* points, std::size_t count,
                     bool stroked);

  emf_reference ref_;
  int width_, height_;
  int frame_right_, frame_bottom_;
  FontEngine& fonts_;

  std::vector<std::uint8_t> data_;
  std::uint32_t records_ = 0;
  std::vector<bool> handle_used_;  // index 0 stands for the metafile itself
  std::uint32_t highest_handle_ = 0;
  bool finished_ = false;
  bool failed_ = false;
  std::string error_;

  // The state the records have set (a fresh device context's to start).
  pen_spec pen_{pen_style::solid, 1, 0};
  brush_spec brush_{brush_kind::solid, draw_rgb(255, 255, 255), hatch_style::horizontal};
  font_spec font_;
  bool pen_dirty_ = false, brush_dirty_ = false, font_dirty_ = true;
  std::uint32_t pen_handle_ = 0, brush_handle_ = 0, font_handle_ = 0;  // 0: a stock object is selected
  draw_color text_color_ = 0;
  int text_align_ = 0;
  bool transparent_ = false;
  draw_color background_ = draw_rgb(255, 255, 255);
  bool winding_ = false;
  draw_point current_;
  bool clipped_ = false;
  rect clip_{0, 0, 0, 0};
  bool any_drawn_ = false;
  rect bounds_{0, 0, 0, 0};
  // The path bracket: readers refuse an end without a begin and a stroke or
  // fill with no path, so those calls write nothing (a device context does
  // nothing for them either).
  // Pens and brushes are not made inside the bracket: the stroke or fill
  // that uses the path makes them and moves them in front of the bracket,
  // where readers that style the path when it begins expect them.
  enum class path_state { none, open, ended };
  path_state path_ = path_state::none;
  std::size_t path_start_ = 0, path_end_ = 0;  // the bracket's bytes in data_
};
