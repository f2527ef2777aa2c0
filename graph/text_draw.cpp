// Text drawing: device-font texts, sub- and superscript runs, boxes, the axis
// titles, and the hand-over of tall texts to glyph-outline drawing.
#include "graph/text_draw.h"

#include <cmath>

#include "graph/text_measure.h"

namespace {
// trunc(v) as an int, saturated; NaN gives 0.
int trunc_px(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(v);
}
}  // namespace

std::string text_title_with_date(std::string_view title, bool with_date, std::string_view date_text) {
  std::string out;
  std::size_t at = with_date ? title.find("&date") : std::string_view::npos;
  if (at == std::string_view::npos) {
    out = title;
  } else {
    out.reserve(title.size() + date_text.size());
    out.append(title.substr(0, at));
    out.append(date_text);
    out.append(title.substr(at + 5));
  }
  if (out.size() > text_title_limit) out.resize(text_title_limit);
  return out;
}

std::vector<text_run> text_subsup_runs(FontEngine& fonts, const font_spec& full, const font_spec& small,
                                       std::string_view line, int justify, int x, int y, int h, double s,
                                       double c) {
  auto font_of = [&](int level) -> const font_spec& { return level == 0 ? full : small; };
  if (justify != 0) {
    long long width = 0;
    int level = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
      unsigned char ch = static_cast<unsigned char>(line[i]);
      if (text_is_shift(ch)) {
        level = text_next_level(level, ch);
        continue;
      }
      width += fonts.extent(font_of(level), line.substr(i, 1)).cx;
    }
    double o = justify == 1 ? -static_cast<double>(width) / 2 : -static_cast<double>(width);
    x += trunc_px(o * c);
    y -= trunc_px(o * s);
  }
  const double raise = 0.27 * h, lower = -0.25 * h;
  std::vector<text_run> runs;
  int level = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    bool end = i == line.size();
    if (!end && !text_is_shift(static_cast<unsigned char>(line[i]))) continue;
    text_run run;
    run.text = line.substr(start, i - start);
    run.level = level;
    double shift = level > 0 ? raise : level < 0 ? lower : 0;
    run.x = x - trunc_px(shift * s);
    run.y = y - trunc_px(shift * c);
    if (!run.text.empty()) runs.push_back(run);
    if (end) break;
    int cx = run.text.empty() ? 0 : fonts.extent(font_of(level), run.text).cx;
    x += trunc_px(cx * c);
    y -= trunc_px(cx * s);
    level = text_next_level(level, static_cast<unsigned char>(line[i]));
    start = i + 1;
  }
  return runs;
}
