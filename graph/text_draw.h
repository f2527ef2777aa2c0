// Text drawing: every text of the text table and the two axis titles onto the
// device of the render in progress. Texts up to text_font_limit_px pixels
// high are written with a turned device font (sub- and superscript runs in a
// smaller font when the text holds shift characters); taller texts are drawn
// from their glyph outlines as filled paths.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "ports/draw_device.h"

constexpr int text_font_limit_px = 200;     // taller texts are drawn from glyph outlines
constexpr std::size_t text_title_limit = 255;  // characters of an axis title as drawn

// ---- kernels ----

// The title as drawn: its first "&date" replaced by date_text when with_date
// is set, cut to text_title_limit characters.
std::string text_title_with_date(std::string_view title, bool with_date, std::string_view date_text);

// One run of a line with shift characters, at its device reference point
// (baseline, left end) and on its level (-1, 0, +1).
struct text_run {
  std::string_view text;
  int level = 0;
  int x = 0, y = 0;
};
// Lays out the runs of line, whose anchor is (x, y), for a text h pixels high
// turned by the angle of sin s and cos c: justify 0 left, 1 center, 2 right
// (the width summed character by character, each in its level's font), runs
// raised 0.27 h on level +1 and lowered 0.25 h on level -1 across the
// baseline. full and small are the fonts of the base and shifted levels.
std::vector<text_run> text_subsup_runs(FontEngine& fonts, const font_spec& full, const font_spec& small,
                                       std::string_view line, int justify, int x, int y, int h, double s,
                                       double c);

// ---- with the graph's state ----

struct text_record;
struct text_view;

// Draws every text of the table and the axis titles; 0, or the reported
// -280 when a font cannot be made (the texts after it stay away).
int text_draw_all(DrawDevice& dev);
// Draws text t, h pixels high, whose lines may hold shift characters: base
// runs in the full font, shifted runs in a font of two thirds. 0, or the
// reported -280 (nothing drawn).
int text_draw_item_subsup(DrawDevice& dev, const text_record& t, const text_view& v, int h);
// Draws text t as filled glyph outlines (texts too tall for device fonts),
// with its box. 0, or -1 when its font cannot be made (no message).
int text_draw_item_outline(DrawDevice& dev, const text_record& t, const text_view& v);
