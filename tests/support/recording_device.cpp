#include "tests/support/recording_device.h"

#include <cstdio>

namespace {
std::string hex_color(draw_color c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%06x", static_cast<unsigned>(c));
  return buf;
}
const char* pen_style_name(pen_style s) {
  switch (s) {
    case pen_style::solid: return "solid";
    case pen_style::dash: return "dash";
    case pen_style::dot: return "dot";
    case pen_style::dash_dot: return "dashdot";
    case pen_style::dash_dot_dot: return "dashdotdot";
    case pen_style::none: return "none";
    case pen_style::inside_frame: return "insideframe";
  }
  return "?";
}
std::string rect_text(const char* name, int l, int t, int r, int b) {
  return std::string(name) + " " + std::to_string(l) + " " + std::to_string(t) + " " + std::to_string(r) + " " +
         std::to_string(b);
}
}  // namespace

bool FakeFontEngine::metrics(const font_spec& font, font_metrics& out) {
  if (fail || font.height <= 0) return false;
  out = {};
  out.height = font.height;
  out.ascent = font.height * 8 / 10;
  out.descent = font.height - out.ascent;
  out.average_char_width = font.height / 2;
  out.max_char_width = font.height / 2;
  return true;
}

text_size FakeFontEngine::extent(const font_spec& font, std::string_view text) {
  return {static_cast<int>(text.size()) * (font.height / 2), font.height};
}

std::vector<int> FakeFontEngine::advances(const font_spec& font, std::string_view text) {
  return std::vector<int>(text.size(), font.height / 2);
}

bool FakeFontEngine::outline(const font_spec& font, unsigned char ch, glyph_outline& out) {
  out = {};
  outlined += static_cast<char>(ch);
  int h = font.height;
  const bool missing = no_glyph.find(static_cast<char>(ch)) != std::string::npos;
  if (!missing) out.cell_inc_x = h / 2;
  if (fail || ch == ' ' || h <= 0 || missing) return false;
  if (empty_glyph.find(static_cast<char>(ch)) != std::string::npos) return true;
  int w = h / 2 - 2;
  int top = h * 7 / 10;
  out.black_box_x = w;
  out.black_box_y = top;
  out.origin_x = 1;
  out.origin_y = top;
  glyph_contour c;
  c.start = {1, 0};
  glyph_segment lines;
  lines.kind = glyph_segment::line;
  lines.points = {{1.0 + w, 0}, {1.0 + w, static_cast<double>(top)}};
  glyph_segment curve;
  curve.kind = glyph_segment::cubic;
  curve.points = {{1.0 + w / 2.0, top + 2.0}, {1.0 + w / 2.0, top + 2.0}, {1, static_cast<double>(top)}};
  c.segments = {lines, curve};
  out.contours.push_back(c);
  return true;
}

std::vector<std::string> RecordingDevice::calls_starting(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& c : calls)
    if (c.compare(0, prefix.size(), prefix) == 0) found.push_back(c);
  return found;
}

std::string RecordingDevice::points_text(const char* name, const draw_point* points, std::size_t count) {
  std::string text = name;
  for (std::size_t i = 0; i < count; ++i) text += " " + std::to_string(points[i].x) + "," + std::to_string(points[i].y);
  return text;
}

void RecordingDevice::select_pen(const pen_spec& p) {
  pen = p;
  record(std::string("select_pen ") + pen_style_name(p.style) + " " + std::to_string(p.width) + " " + hex_color(p.color));
}
void RecordingDevice::select_brush(const brush_spec& b) {
  brush = b;
  const char* kind = b.kind == brush_kind::none ? "none" : b.kind == brush_kind::solid ? "solid" : "hatched";
  std::string text = std::string("select_brush ") + kind + " " + hex_color(b.color);
  if (b.kind == brush_kind::hatched) text += " " + std::to_string(static_cast<int>(b.hatch));
  record(text);
}
void RecordingDevice::select_font(const font_spec& f) {
  font = f;
  record("select_font " + std::to_string(f.height) + " " + std::to_string(f.escapement) + " " +
         std::to_string(f.weight) + " " + (f.italic ? "italic" : "upright") + " '" + f.face + "'");
}
void RecordingDevice::set_text_color(draw_color color) {
  text_color = color;
  record("text_color " + hex_color(color));
}
void RecordingDevice::set_text_align(int flags) { record("text_align " + std::to_string(flags)); }
void RecordingDevice::set_background_transparent(bool transparent) {
  record(std::string("background ") + (transparent ? "transparent" : "opaque"));
}
void RecordingDevice::set_background_color(draw_color color) { record("background_color " + hex_color(color)); }
void RecordingDevice::set_fill_winding(bool winding) { record(std::string("fill ") + (winding ? "winding" : "alternate")); }
void RecordingDevice::set_clip_rect(int l, int t, int r, int b) { record(rect_text("clip", l, t, r, b)); }
void RecordingDevice::clear_clip() { record("clear_clip"); }
void RecordingDevice::move_to(int x, int y) {
  current = {x, y};
  record("move_to " + std::to_string(x) + " " + std::to_string(y));
}
void RecordingDevice::line_to(int x, int y) {
  current = {x, y};
  record("line_to " + std::to_string(x) + " " + std::to_string(y));
}
void RecordingDevice::polyline(const draw_point* points, std::size_t count) { record(points_text("polyline", points, count)); }
void RecordingDevice::polyline_to(const draw_point* points, std::size_t count) {
  if (count > 0) current = points[count - 1];
  record(points_text("polyline_to", points, count));
}
void RecordingDevice::poly_bezier(const draw_point* points, std::size_t count) {
  record(points_text("poly_bezier", points, count));
}
void RecordingDevice::poly_bezier_to(const draw_point* points, std::size_t count) {
  if (count > 0) current = points[count - 1];
  record(points_text("poly_bezier_to", points, count));
}
void RecordingDevice::rectangle(int l, int t, int r, int b) { record(rect_text("rectangle", l, t, r, b)); }
void RecordingDevice::ellipse(int l, int t, int r, int b) { record(rect_text("ellipse", l, t, r, b)); }
void RecordingDevice::polygon(const draw_point* points, std::size_t count) { record(points_text("polygon", points, count)); }
void RecordingDevice::fill_rect(int l, int t, int r, int b, draw_color color) {
  record(rect_text("fill_rect", l, t, r, b) + " " + hex_color(color));
}
void RecordingDevice::begin_path() {
  in_path = true;
  record("begin_path");
}
void RecordingDevice::end_path() {
  in_path = false;
  record("end_path");
}
void RecordingDevice::close_figure() { record("close_figure"); }
void RecordingDevice::stroke_path() { record("stroke_path"); }
void RecordingDevice::fill_path() { record("fill_path"); }
void RecordingDevice::stroke_and_fill_path() { record("stroke_and_fill_path"); }
void RecordingDevice::text_out(int x, int y, std::string_view text) {
  record("text_out " + std::to_string(x) + " " + std::to_string(y) + " '" + std::string(text) + "'");
}
bool RecordingDevice::get_pixel(int, int, draw_color&) { return false; }
