// Text measurement: the change key of a text (length and hash), line and
// shift-level walking, the measured boxes of a text in the 1000-unit
// measuring font, the turn of offsets by the text angle in a frame where both
// axes have the same pixel scale, and the placement of a text's anchor.
//
// Units: a font unit is 1/1000 of the measuring font's cell height. On a
// logarithmic axis "data units" are log10 units (decades).
#pragma once
#include <cstdint>
#include <string_view>

#include "ports/font_engine.h"

// ---- change detection ----

// Hash over the characters: h = lo32(h x 97) + hi32(h x 97) + c (c the
// signed byte), modulo 2^32, starting at 0.
std::uint32_t text_hash(std::string_view text);

// ---- lines and shift characters ----

constexpr unsigned char text_shift_up = 0x0F;    // raises the level: subscript to base, base to superscript
constexpr unsigned char text_shift_down = 0x0E;  // lowers it
constexpr int text_small_factor = 666;           // size of a shifted character in thousandths

inline bool text_is_shift(unsigned char c) { return c == text_shift_up || c == text_shift_down; }
// The level after shift character c: stays within -1..+1.
inline int text_next_level(int level, unsigned char c) {
  if (c == text_shift_up) return level < 1 ? level + 1 : level;
  if (c == text_shift_down) return level > -1 ? level - 1 : level;
  return level;
}
// Whether the line holds a shift character.
bool text_line_has_shift(std::string_view line);

// Walks the lines of a text split at LF; a final LF opens no further line.
// Usage: text_lines lines(text); std::string_view line; while (lines.next(line)) ...
class text_lines {
 public:
  explicit text_lines(std::string_view text) : rest_(text) {}
  bool next(std::string_view& line);

 private:
  std::string_view rest_;
  bool done_ = false;
};

// ---- measuring ----

// The font the texts are measured in: 1000 units high, bold 700 or the
// default weight, variable-pitch sans unless a face is named.
font_spec text_measure_font(int bold, int italic, std::string_view face);

// Width of one line in font units: the line's extent, or with shift
// characters the sum over its other characters of trunc(cx x f / 1000),
// cx each character's own extent and f 1000 on the base level, 666 on a
// shifted one. Sets shifted when the line holds a shift character.
int text_line_width(FontEngine& fonts, const font_spec& font, std::string_view line, bool& shifted);

// The measured boxes of a text about its anchor (the first line's baseline
// at the justify point, y up), in font units.
struct text_boxes {
  double em_left = 0, em_top = 0, em_right = 0, em_bottom = 0;  // unrotated, box margin included
  double box_x_min = 0, box_x_max = 0, box_y_min = 0, box_y_max = 0;  // turned, pen allowance included
  int has_shifts = 0;
};

// Measures text in the measuring font (metrics m of that font): justify 0
// left, 1 center, 2 right; boxed adds the box margins (W and H / 5) and the
// pen allowance (H / 12 x 1.5); angle in radians. Returns the boxes.
text_boxes text_measure_boxes(FontEngine& fonts, const font_spec& font, const font_metrics& m,
                              std::string_view text, int justify, int boxed, double angle);

// ---- turning offsets ----

// The turn of the text in progress: sin and cos of its angle, r =
// px_per_unit_y / px_per_unit_x, and the axis kinds.
struct text_turn {
  double sin = 0, cos = 1;
  double r = 1;
  bool log_x = false, log_y = false;
};

// Turns the offset (dx, dy) (horizontal and vertical data units, log10 on a
// log axis) and adds it to base (data units): out_x, out_y in data units,
// out_log_x, out_log_y the log10 values on a logarithmic axis (else the same
// as out_x, out_y). Null outputs are skipped.
void text_rotate_offset(const text_turn& t, double base_x, double base_y, double dx, double dy, double* out_x,
                        double* out_y, double* out_log_x, double* out_log_y);
// Turns the point (px, py) plus the offset (ox, oy) about the centre (cx, cy)
// (differences between log10 values on a logarithmic axis); outputs as above.
void text_rotate_point(const text_turn& t, double cx, double cy, double px, double py, double ox, double oy,
                       double* out_x, double* out_y, double* out_log_x, double* out_log_y);

// ---- placing ----

// The anchor of a text with a placement range [lo, hi] (axis units) whose
// box reaches from lo_off to hi_off about the anchor, in a plot whose first
// and last pixel columns are at first and last: centred on the range, pushed
// inside the plot when the box fits the range, the range winning over the
// plot edges.
double text_place_in_range(double lo, double hi, double hi_off, double lo_off, double first, double last);
