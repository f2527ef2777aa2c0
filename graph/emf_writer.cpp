// The enhanced-metafile writer (see emf_writer.h).
#include "graph/emf_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "platform/file_output.h"

namespace {

constexpr std::uint32_t emf_signature = 0x464D4520;  // " EMF"
constexpr std::uint32_t emf_version = 0x00010000;

constexpr std::uint32_t stock_object = 0x80000000;
constexpr std::uint32_t stock_white_brush = stock_object | 0;
constexpr std::uint32_t stock_null_brush = stock_object | 5;
constexpr std::uint32_t stock_black_pen = stock_object | 7;
constexpr std::uint32_t stock_null_pen = stock_object | 8;

constexpr std::uint32_t ps_geometric = 0x00010000;
constexpr std::uint32_t ps_endcap_flat = 0x00000200;
constexpr std::uint32_t bs_solid = 0, bs_null = 1, bs_hatched = 2;
constexpr std::uint32_t bk_transparent = 1, bk_opaque = 2;
constexpr std::uint32_t fill_alternate = 1, fill_winding = 2;
constexpr std::uint32_t rgn_copy = 5;
constexpr std::uint32_t gm_compatible = 1;

// The file format keeps sizes in 32 bits; stay well inside.
constexpr std::size_t max_file_bytes = 0x7FFF0000;

bool fits16(int v) { return v >= -32768 && v <= 32767; }

}  // namespace

EmfWriter::EmfWriter(const emf_reference& reference, int width_px, int height_px, int frame_right,
                     int frame_bottom, FontEngine& fonts)
    : ref_(reference), width_(std::max(1, width_px)), height_(std::max(1, height_px)),
      frame_right_(frame_right), frame_bottom_(frame_bottom), fonts_(fonts) {
  font_.height = 16;
  handle_used_.assign(1, true);
  try {
    data_.reserve(4096);
  } catch (const std::bad_alloc&) {
    fail("Not enough memory for the metafile.");
    return;
  }
  // The header; its totals are filled in by finish().
  std::size_t start = begin_record(emr_header);
  put_rect({0, 0, 0, 0});  // bounds
  put_rect({0, 0, frame_right_, frame_bottom_});
  put_u32(emf_signature);
  put_u32(emf_version);
  put_u32(0);  // bytes
  put_u32(0);  // records
  put_u16(0);  // handles
  put_u16(0);
  put_u32(0);  // no description
  put_u32(0);
  put_u32(0);  // no palette
  put_i32(ref_.device_width_px);
  put_i32(ref_.device_height_px);
  put_i32(ref_.width_mm);
  put_i32(ref_.height_mm);
  put_u32(0);  // no pixel format
  put_u32(0);
  put_u32(0);  // not OpenGL
  put_i32(ref_.width_mm * 1000);
  put_i32(ref_.height_mm * 1000);
  end_record(start);
  // A fresh device context's pen and brush, selected in so many words:
  // readers differ on what they assume before any selection.
  simple_record(emr_selectobject, {stock_black_pen});
  simple_record(emr_selectobject, {stock_white_brush});
}

// --- record assembly -------------------------------------------------------

void EmfWriter::fail(const std::string& why) {
  if (!failed_) error_ = why;
  failed_ = true;
}

void EmfWriter::put_bytes(const void* data, std::size_t size) {
  if (failed_) return;
  if (data_.size() + size > max_file_bytes) {
    fail("The metafile is too large.");
    return;
  }
  try {
    const auto* p = static_cast<const std::uint8_t*>(data);
    data_.insert(data_.end(), p, p + size);
  } catch (const std::bad_alloc&) {
    fail("Not enough memory for the metafile.");
  }
}

void EmfWriter::put_u32(std::uint32_t v) {
  std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                       static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
  put_bytes(b, 4);
}

void EmfWriter::put_u16(std::uint16_t v) {
  std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
  put_bytes(b, 2);
}

void EmfWriter::put_f32(float v) {
  std::uint32_t bits;
  static_assert(sizeof bits == sizeof v);
  std::memcpy(&bits, &v, sizeof bits);
  put_u32(bits);
}

void EmfWriter::put_rect(const rect& r) {
  put_i32(r.left);
  put_i32(r.top);
  put_i32(r.right);
  put_i32(r.bottom);
}

void EmfWriter::patch_u32(std::size_t at, std::uint32_t v) {
  if (failed_ || at + 4 > data_.size()) return;
  for (int i = 0; i < 4; ++i) data_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::size_t EmfWriter::begin_record(std::uint32_t type) {
  std::size_t start = data_.size();
  put_u32(type);
  put_u32(0);  // size, set by end_record
  return start;
}

void EmfWriter::end_record(std::size_t start) {
  if (failed_) return;
  static const std::uint8_t zeros[4] = {0, 0, 0, 0};
  std::size_t size = data_.size() - start;
  if (size % 4) put_bytes(zeros, 4 - size % 4);
  if (failed_) return;
  patch_u32(start + 4, static_cast<std::uint32_t>(data_.size() - start));
  ++records_;
}

void EmfWriter::simple_record(std::uint32_t type, std::initializer_list<std::uint32_t> values) {
  std::size_t start = begin_record(type);
  for (std::uint32_t v : values) put_u32(v);
  end_record(start);
}

// --- objects ---------------------------------------------------------------

std::uint32_t EmfWriter::new_handle() {
  std::uint32_t i = 1;
  while (i < handle_used_.size() && handle_used_[i]) ++i;
  if (i == handle_used_.size()) handle_used_.push_back(true);
  else handle_used_[i] = true;
  highest_handle_ = std::max(highest_handle_, i);
  return i;
}

void EmfWriter::release_handle(std::uint32_t handle) {
  if (handle == 0 || handle >= handle_used_.size()) return;
  simple_record(emr_deleteobject, {handle});
  handle_used_[handle] = false;
}

void EmfWriter::select_pen(const pen_spec& pen) {
  if (!usable() || (pen == pen_ && !pen_dirty_)) return;
  pen_ = pen;
  pen_dirty_ = true;
}

void EmfWriter::select_brush(const brush_spec& brush) {
  if (!usable() || (brush == brush_ && !brush_dirty_)) return;
  brush_ = brush;
  brush_dirty_ = true;
}

void EmfWriter::select_font(const font_spec& font) {
  if (!usable() || font == font_) return;
  font_ = font;
  font_dirty_ = true;
}

// Objects are made when first drawn with, so a pen selected and replaced
// without drawing leaves no records.
void EmfWriter::apply_pen() {
  if (!pen_dirty_ || path_ == path_state::open) return;
  pen_dirty_ = false;
  std::uint32_t old = pen_handle_;
  if (pen_.style == pen_style::none) {
    simple_record(emr_selectobject, {stock_null_pen});
    pen_handle_ = 0;
  } else {
    std::uint32_t style = static_cast<std::uint32_t>(pen_.style);
    std::uint32_t width = 1;
    if (pen_.width > 1) {
      style |= ps_geometric;
      if (pen_.style != pen_style::solid && pen_.style != pen_style::inside_frame) style |= ps_endcap_flat;
      width = static_cast<std::uint32_t>(pen_.width);
    }
    std::uint32_t h = new_handle();
    std::size_t start = begin_record(emr_extcreatepen);
    put_u32(h);
    put_u32(0);  // no brush bitmap
    put_u32(0);
    put_u32(0);
    put_u32(0);
    put_u32(style);
    put_u32(width);
    put_u32(bs_solid);
    put_u32(pen_.color & 0xFFFFFF);
    put_u32(0);  // hatch
    put_u32(0);  // no style entries
    end_record(start);
    simple_record(emr_selectobject, {h});
    pen_handle_ = h;
  }
  release_handle(old);
}

void EmfWriter::apply_brush() {
  if (!brush_dirty_ || path_ == path_state::open) return;
  brush_dirty_ = false;
  std::uint32_t old = brush_handle_;
  if (brush_.kind == brush_kind::none) {
    simple_record(emr_selectobject, {stock_null_brush});
    brush_handle_ = 0;
  } else {
    std::uint32_t h = new_handle();
    simple_record(emr_createbrushindirect, {h, brush_.kind == brush_kind::hatched ? bs_hatched : bs_solid,
                                            brush_.color & 0xFFFFFF, static_cast<std::uint32_t>(brush_.hatch)});
    simple_record(emr_selectobject, {h});
    brush_handle_ = h;
  }
  release_handle(old);
}

void EmfWriter::apply_font() {
  if (!font_dirty_) return;
  font_dirty_ = false;
  std::uint32_t old = font_handle_;
  std::uint32_t h = new_handle();
  // The character height (the cell less its internal leading) is what every
  // reader understands; a reader that maps the face matches the cell anyway.
  std::int32_t height = font_.height;
  font_metrics m;
  if (font_.height > 0 && fonts_.metrics(font_, m) && m.height > m.internal_leading)
    height = -(m.height - m.internal_leading);

  std::size_t start = begin_record(emr_extcreatefontindirectw);
  put_u32(h);
  put_i32(height);
  put_i32(font_.width);
  put_i32(font_.escapement);
  put_i32(font_.escapement);  // orientation
  put_i32(font_.weight <= 0 ? 400 : std::min(font_.weight, 1000));
  std::uint8_t flags[8] = {
      static_cast<std::uint8_t>(font_.italic ? 1 : 0),
      static_cast<std::uint8_t>(font_.underline ? 1 : 0),
      static_cast<std::uint8_t>(font_.strike_out ? 1 : 0),
      1,     // default character set
      8,     // outline precision
      0,     // default clipping
      4,     // anti-aliased quality
      static_cast<std::uint8_t>(font_.fixed_pitch ? 0x31 : 0x22),  // fixed pitch + modern, or variable + swiss
  };
  put_bytes(flags, sizeof flags);
  // Face name: 32 UTF-16 units, NUL-terminated; then the full name (64),
  // style (32) and script (32) of the extended font, all empty.
  std::string face = font_.face.empty() ? (font_.fixed_pitch ? "Courier New" : "Arial") : font_.face;
  std::uint16_t name[32] = {};
  for (std::size_t i = 0; i < face.size() && i < 31; ++i)
    name[i] = static_cast<std::uint16_t>(cp1252_to_unicode(static_cast<unsigned char>(face[i])));
  for (std::uint16_t u : name) put_u16(u);
  for (int i = 0; i < 64 + 32 + 32; ++i) put_u16(0);
  put_u32(0x08007664);  // design vector signature
  put_u32(0);           // no axes
  end_record(start);
  simple_record(emr_selectobject, {h});
  font_handle_ = h;
  release_handle(old);
}

// --- modes -----------------------------------------------------------------

void EmfWriter::set_text_color(draw_color color) {
  if (!usable() || color == text_color_) return;
  text_color_ = color;
  simple_record(emr_settextcolor, {color & 0xFFFFFF});
}

void EmfWriter::set_text_align(int flags) {
  if (!usable() || flags == text_align_) return;
  text_align_ = flags;
  simple_record(emr_settextalign, {static_cast<std::uint32_t>(flags)});
}

void EmfWriter::set_background_transparent(bool transparent) {
  if (!usable() || transparent == transparent_) return;
  transparent_ = transparent;
  simple_record(emr_setbkmode, {transparent ? bk_transparent : bk_opaque});
}

void EmfWriter::set_background_color(draw_color color) {
  if (!usable() || color == background_) return;
  background_ = color;
  simple_record(emr_setbkcolor, {color & 0xFFFFFF});
}

void EmfWriter::set_fill_winding(bool winding) {
  if (!usable() || winding == winding_) return;
  winding_ = winding;
  simple_record(emr_setpolyfillmode, {winding ? fill_winding : fill_alternate});
}

void EmfWriter::set_clip_rect(int left, int top, int right, int bottom) {
  if (!usable()) return;
  if (clipped_) simple_record(emr_selectcliprgn, {0, rgn_copy});  // back to no clipping
  std::size_t start = begin_record(emr_intersectcliprect);
  put_rect({left, top, right, bottom});
  end_record(start);
  clipped_ = true;
  clip_ = {std::min(left, right), std::min(top, bottom), std::max(left, right) - 1, std::max(top, bottom) - 1};
}

void EmfWriter::clear_clip() {
  if (!usable() || !clipped_) return;
  simple_record(emr_selectcliprgn, {0, rgn_copy});
  clipped_ = false;
}

// --- bounds ----------------------------------------------------------------

EmfWriter::rect EmfWriter::points_bounds(const draw_point* points, std::size_t count) const {
  rect r{points[0].x, points[0].y, points[0].x, points[0].y};
  for (std::size_t i = 1; i < count; ++i) {
    r.left = std::min(r.left, points[i].x);
    r.top = std::min(r.top, points[i].y);
    r.right = std::max(r.right, points[i].x);
    r.bottom = std::max(r.bottom, points[i].y);
  }
  return r;
}

// Adds a drawn area (inclusive) to the header's bounds, widened by the pen
// when stroked and cut to the clip rectangle and the drawing.
void EmfWriter::touch(rect r, bool stroked) {
  if (stroked && pen_.style != pen_style::none && pen_.width > 1) {
    int half = pen_.width / 2 + 1;
    r = {r.left - half, r.top - half, r.right + half, r.bottom + half};
  }
  if (clipped_) r = {std::max(r.left, clip_.left), std::max(r.top, clip_.top), std::min(r.right, clip_.right),
                     std::min(r.bottom, clip_.bottom)};
  r = {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width_ - 1), std::min(r.bottom, height_ - 1)};
  if (r.left > r.right || r.top > r.bottom) return;
  if (!any_drawn_) {
    bounds_ = r;
    any_drawn_ = true;
    return;
  }
  bounds_ = {std::min(bounds_.left, r.left), std::min(bounds_.top, r.top), std::max(bounds_.right, r.right),
             std::max(bounds_.bottom, r.bottom)};
}

// --- drawing ---------------------------------------------------------------

void EmfWriter::move_to(int x, int y) {
  if (!usable()) return;
  simple_record(emr_movetoex, {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)});
  current_ = {x, y};
}

void EmfWriter::line_to(int x, int y) {
  if (!usable()) return;
  apply_pen();
  simple_record(emr_lineto, {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)});
  touch({std::min(x, current_.x), std::min(y, current_.y), std::max(x, current_.x), std::max(y, current_.y)}, true);
  current_ = {x, y};
}

void EmfWriter::points_record(std::uint32_t type16, std::uint32_t type32, const draw_point* points,
                              std::size_t count, bool stroked) {
  if (count == 0 || count > 0x0FFFFFFF) return;
  rect b = points_bounds(points, count);
  bool small = fits16(b.left) && fits16(b.top) && fits16(b.right) && fits16(b.bottom);
  std::size_t start = begin_record(small ? type16 : type32);
  put_rect(b);
  put_u32(static_cast<std::uint32_t>(count));
  for (std::size_t i = 0; i < count && !failed_; ++i) {
    if (small) {
      put_u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(points[i].x)));
      put_u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(points[i].y)));
    } else {
      put_i32(points[i].x);
      put_i32(points[i].y);
    }
  }
  end_record(start);
  touch(b, stroked);
}

void EmfWriter::polyline(const draw_point* points, std::size_t count) {
  if (!usable() || count < 2) return;
  apply_pen();
  points_record(emr_polyline16, emr_polyline, points, count, true);
}

void EmfWriter::polyline_to(const draw_point* points, std::size_t count) {
  if (!usable() || count == 0) return;
  apply_pen();
  points_record(emr_polylineto16, emr_polylineto, points, count, true);
  touch(points_bounds(&current_, 1), true);
  current_ = points[count - 1];
}

void EmfWriter::poly_bezier(const draw_point* points, std::size_t count) {
  if (!usable() || count < 4) return;
  count -= (count - 1) % 3;  // whole curves only
  apply_pen();
  points_record(emr_polybezier16, emr_polybezier, points, count, true);
}

void EmfWriter::poly_bezier_to(const draw_point* points, std::size_t count) {
  if (!usable() || count < 3) return;
  count -= count % 3;
  apply_pen();
  points_record(emr_polybezierto16, emr_polybezierto, points, count, true);
  touch(points_bounds(&current_, 1), true);
  current_ = points[count - 1];
}

void EmfWriter::rectangle(int left, int top, int right, int bottom) {
  if (!usable()) return;
  apply_pen();
  apply_brush();
  std::size_t start = begin_record(emr_rectangle);
  put_rect({left, top, right, bottom});
  end_record(start);
  touch({std::min(left, right), std::min(top, bottom), std::max(left, right) - 1, std::max(top, bottom) - 1}, true);
}

void EmfWriter::ellipse(int left, int top, int right, int bottom) {
  if (!usable()) return;
  apply_pen();
  apply_brush();
  std::size_t start = begin_record(emr_ellipse);
  put_rect({left, top, right, bottom});
  end_record(start);
  touch({std::min(left, right), std::min(top, bottom), std::max(left, right) - 1, std::max(top, bottom) - 1}, true);
}

void EmfWriter::polygon(const draw_point* points, std::size_t count) {
  if (!usable() || count < 2) return;
  apply_pen();
  apply_brush();
  points_record(emr_polygon16, emr_polygon, points, count, true);
}

// A solid rectangle without border: a brush of the colour and the null pen
// for one rectangle (which, without a pen, fills up to but excluding its
// right and bottom edges), then the selected objects again.
void EmfWriter::fill_rect(int left, int top, int right, int bottom, draw_color color) {
  if (!usable()) return;
  if (right <= left || bottom <= top) return;
  apply_pen();
  apply_brush();
  std::uint32_t h = new_handle();
  simple_record(emr_createbrushindirect, {h, bs_solid, color & 0xFFFFFF, 0});
  simple_record(emr_selectobject, {h});
  simple_record(emr_selectobject, {stock_null_pen});
  std::size_t start = begin_record(emr_rectangle);
  put_rect({left, top, right + 1, bottom + 1});
  end_record(start);
  simple_record(emr_selectobject, {pen_handle_ ? pen_handle_
                                   : pen_.style == pen_style::none ? stock_null_pen
                                                                   : stock_black_pen});
  simple_record(emr_selectobject, {brush_handle_ ? brush_handle_
                                   : brush_.kind == brush_kind::none ? stock_null_brush
                                                                      : stock_white_brush});
  release_handle(h);
  touch({left, top, right - 1, bottom - 1}, false);
}

// --- paths -----------------------------------------------------------------

void EmfWriter::begin_path() {
  if (!usable()) return;
  path_start_ = data_.size();
  simple_record(emr_beginpath, {});
  path_ = path_state::open;
}
void EmfWriter::end_path() {
  if (!usable() || path_ != path_state::open) return;
  simple_record(emr_endpath, {});
  path_end_ = data_.size();
  path_ = path_state::ended;
}
void EmfWriter::close_figure() {
  if (usable() && path_ == path_state::open) simple_record(emr_closefigure, {});
}

// Whether a finished path waits for its stroke or fill, which uses it up.
// When it does, the pen (stroke) and brush (fill) it needs are made and
// placed in front of the path bracket, which must be the last thing written.
bool EmfWriter::take_path(bool pen, bool brush) {
  if (!usable() || path_ != path_state::ended) return false;
  path_ = path_state::none;
  if (data_.size() != path_end_ || path_start_ > path_end_) {
    // Something was drawn after the bracket: make the objects here.
    if (pen) apply_pen();
    if (brush) apply_brush();
    return usable();
  }
  std::vector<std::uint8_t> bracket;
  try {
    bracket.assign(data_.begin() + static_cast<std::ptrdiff_t>(path_start_), data_.end());
  } catch (const std::bad_alloc&) {
    fail("Not enough memory for the metafile.");
    return false;
  }
  data_.resize(path_start_);
  if (pen) apply_pen();
  if (brush) apply_brush();
  put_bytes(bracket.data(), bracket.size());
  return usable();
}

void EmfWriter::stroke_path() {
  if (!take_path(true, false)) return;
  std::size_t start = begin_record(emr_strokepath);
  put_rect(bounds_);
  end_record(start);
}

void EmfWriter::fill_path() {
  if (!take_path(false, true)) return;
  std::size_t start = begin_record(emr_fillpath);
  put_rect(bounds_);
  end_record(start);
}

void EmfWriter::stroke_and_fill_path() {
  if (!take_path(true, true)) return;
  std::size_t start = begin_record(emr_strokeandfillpath);
  put_rect(bounds_);
  end_record(start);
}

// --- text ------------------------------------------------------------------

void EmfWriter::text_out(int x, int y, std::string_view text) {
  if (!usable() || text.empty() || text.size() > 0x00FFFFFF) return;
  apply_font();
  std::vector<int> dx = fonts_.advances(font_, text);
  dx.resize(text.size(), 0);
  long long width = 0;
  for (int a : dx) width += a;

  // Bounds: the text's cell turned by its escapement about the reference point.
  rect box{x, y, x, y};
  font_metrics m;
  if (fonts_.metrics(font_, m)) {
    double left = 0;
    if ((text_align_ & text_align_center) == text_align_center) left = -width / 2.0;
    else if (text_align_ & text_align_right) left = -static_cast<double>(width);
    double top = 0;  // y down from the reference point to the cell's top
    if ((text_align_ & text_align_baseline) == text_align_baseline) top = -m.ascent;
    else if (text_align_ & text_align_bottom) top = -m.height;
    double a = font_.escapement / 10.0 * 3.14159265358979323846 / 180.0;
    double c = std::cos(a), s = std::sin(a);
    const double corners[4][2] = {{left, top}, {left + width, top}, {left, top + m.height}, {left + width, top + m.height}};
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const auto& p : corners) {
      double px = x + p[0] * c + p[1] * s;  // counter-clockwise on a y-down device
      double py = y - p[0] * s + p[1] * c;
      x0 = std::min(x0, px), x1 = std::max(x1, px), y0 = std::min(y0, py), y1 = std::max(y1, py);
    }
    auto clamp = [](double v) { return static_cast<int>(std::clamp(v, -2e9, 2e9)); };
    box = {clamp(std::floor(x0)), clamp(std::floor(y0)), clamp(std::ceil(x1)), clamp(std::ceil(y1))};
  }

  std::uint32_t n = static_cast<std::uint32_t>(text.size());
  std::uint32_t string_offset = 76;
  std::uint32_t string_bytes = (n * 2 + 3) / 4 * 4;
  std::size_t start = begin_record(emr_exttextoutw);
  put_rect(box);
  put_u32(gm_compatible);
  put_f32(static_cast<float>(2540.0 / ref_.ppi_x));  // hundredths of a millimetre per pixel
  put_f32(static_cast<float>(2540.0 / ref_.ppi_y));
  put_i32(x);
  put_i32(y);
  put_u32(n);
  put_u32(string_offset);
  put_u32(0);                 // no options
  put_rect({0, 0, -1, -1});   // no clipping rectangle
  put_u32(string_offset + string_bytes);
  for (unsigned char ch : text) put_u16(static_cast<std::uint16_t>(cp1252_to_unicode(ch)));
  if (n % 2) put_u16(0);
  for (int a : dx) put_i32(a);
  end_record(start);
  touch(box, false);
}

// --- the file --------------------------------------------------------------

const std::vector<std::uint8_t>& EmfWriter::finish() {
  if (finished_ || failed_) {
    if (failed_) data_.clear();
    return data_;
  }
  simple_record(emr_eof, {0, 16, 20});  // no palette; its offset; this record's size
  rect bounds = any_drawn_ ? bounds_ : rect{0, 0, width_ - 1, height_ - 1};
  for (int i = 0; i < 4; ++i) {
    const int v[4] = {bounds.left, bounds.top, bounds.right, bounds.bottom};
    patch_u32(8 + 4 * static_cast<std::size_t>(i), static_cast<std::uint32_t>(v[i]));
  }
  patch_u32(48, static_cast<std::uint32_t>(data_.size()));
  patch_u32(52, records_);
  if (!failed_) {
    std::uint32_t handles = highest_handle_ + 1;
    data_[56] = static_cast<std::uint8_t>(handles);
    data_[57] = static_cast<std::uint8_t>(handles >> 8);
    if (handles > 0xFFFF) fail("The metafile uses too many objects.");
  }
  finished_ = true;
  if (failed_) data_.clear();
  return data_;
}

bool EmfWriter::save(const std::string& path) {
  const std::vector<std::uint8_t>& bytes = finish();
  if (failed_ || bytes.empty()) {
    if (error_.empty()) error_ = "The metafile could not be built.";
    return false;
  }
  std::string why;
  if (!write_whole_file(path, bytes.data(), bytes.size(), why)) {
    error_ = why;
    return false;
  }
  return true;
}
