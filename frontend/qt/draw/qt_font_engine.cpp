// The font engine on Qt's font stack (see qt_font_engine.h).
#include "frontend/qt/draw/qt_font_engine.h"

#include <fontconfig/fontconfig.h>

#include <QFont>
#include <QPainterPath>
#include <cmath>
#include <map>
#include <utility>

namespace {

constexpr std::size_t cache_limit = 24;
constexpr double probe_px = 1000.0;  // size at which the cell-to-em ratio is measured

// A sane upper bound on cell heights: bigger requests are refused rather
// than handed to the rasteriser.
constexpr int max_cell_height = 1'000'000;

QString text_to_unicode(std::string_view text) {
  QString s;
  s.reserve(static_cast<qsizetype>(text.size()));
  for (unsigned char c : text) s.append(QChar(static_cast<char16_t>(cp1252_to_unicode(c))));
  return s;
}

int round_to_int(double v) {
  if (!std::isfinite(v)) return 0;
  if (v > 2e9) return 2'000'000'000;
  if (v < -2e9) return -2'000'000'000;
  return static_cast<int>(std::lround(v));
}

}  // namespace

QString QtFontEngine::resolve_family(const std::string& face, bool fixed_pitch) {
  static std::map<std::pair<std::string, bool>, QString> resolved;
  auto key = std::make_pair(face, fixed_pitch);
  auto it = resolved.find(key);
  if (it != resolved.end()) return it->second;

  // An empty face takes the family's usual Windows face, which fontconfig
  // maps onto its metric-compatible replacement.
  std::string wanted = face.empty() ? (fixed_pitch ? "Courier New" : "Arial") : face;
  if (wanted == "MS Sans Serif" || wanted == "System" || wanted == "MS Shell Dlg") wanted = "sans-serif";
  QString family = QString::fromStdString(wanted);
  if (FcInit()) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern) {
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(wanted.c_str()));
      if (fixed_pitch) FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
      FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
      FcDefaultSubstitute(pattern);
      FcResult result = FcResultNoMatch;
      FcPattern* match = FcFontMatch(nullptr, pattern, &result);
      if (match) {
        FcChar8* name = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name)
          family = QString::fromUtf8(reinterpret_cast<const char*>(name));
        FcPatternDestroy(match);
      }
      FcPatternDestroy(pattern);
    }
  }
  resolved.emplace(key, family);
  return family;
}

QtFontEngine::sized_font* QtFontEngine::find(const font_spec& font) {
  for (auto it = cache_.begin(); it != cache_.end(); ++it) {
    if (it->spec == font) {
      if (it != cache_.begin()) cache_.splice(cache_.begin(), cache_, it);
      return &cache_.front();
    }
  }
  sized_font f;
  f.spec = font;
  if (font.height > 0 && font.height <= max_cell_height && font.width >= 0 && font.width <= max_cell_height) {
    QFont qf(resolve_family(font.face, font.fixed_pitch));
    int weight = font.weight <= 0 ? 400 : std::min(font.weight, 1000);
    qf.setWeight(static_cast<QFont::Weight>(weight));
    qf.setItalic(font.italic);
    qf.setHintingPreference(QFont::PreferNoHinting);
    qf.setStyleStrategy(QFont::NoFontMerging);
    qf.setPixelSize(static_cast<int>(probe_px));
    QRawFont raw = QRawFont::fromFont(qf);
    if (raw.isValid() && raw.ascent() + raw.descent() > 0) {
      // The cell height (ascent + descent) grows with the pixel (em) size;
      // choose the em size that gives the cell height asked for.
      double cell_per_px = (raw.ascent() + raw.descent()) / raw.pixelSize();
      double px = font.height / cell_per_px;
      raw.setPixelSize(px);
      f.raw = raw;
      f.m.height = font.height;
      f.m.ascent = std::min(font.height, round_to_int(raw.ascent()));
      f.m.descent = font.height - f.m.ascent;
      f.m.internal_leading = std::max(0, font.height - round_to_int(px));
      f.m.external_leading = std::max(0, round_to_int(raw.leading()));
      double natural_avg = raw.averageCharWidth();
      if (font.width > 0 && natural_avg > 0) f.stretch_x = font.width / natural_avg;
      f.m.average_char_width = std::max(1, round_to_int(natural_avg * f.stretch_x));
      f.m.max_char_width = std::max(1, round_to_int(raw.maxCharWidth() * f.stretch_x));
      f.ok = true;
    }
  }
  cache_.push_front(std::move(f));
  if (cache_.size() > cache_limit) cache_.pop_back();
  return &cache_.front();
}

QVector<quint32> QtFontEngine::glyphs_for(const QRawFont& raw, std::string_view text) {
  QString s = text_to_unicode(text);
  QVector<quint32> glyphs = raw.glyphIndexesForString(s);
  glyphs.resize(static_cast<qsizetype>(text.size()));  // one glyph per byte (all map into the BMP)
  return glyphs;
}

std::vector<int> QtFontEngine::glyph_advances(sized_font& f, const QVector<quint32>& glyphs) {
  QVector<QPointF> adv = f.raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
  std::vector<int> out(static_cast<std::size_t>(glyphs.size()), 0);
  for (qsizetype i = 0; i < adv.size() && i < glyphs.size(); ++i)
    out[static_cast<std::size_t>(i)] = round_to_int(adv[i].x() * f.stretch_x);
  return out;
}

bool QtFontEngine::metrics(const font_spec& font, font_metrics& out) {
  sized_font* f = find(font);
  if (!f->ok) return false;
  out = f->m;
  return true;
}

text_size QtFontEngine::extent(const font_spec& font, std::string_view text) {
  sized_font* f = find(font);
  if (!f->ok) return {};
  int cx = 0;
  for (int a : glyph_advances(*f, glyphs_for(f->raw, text))) cx += a;
  return {cx, f->m.height};
}

std::vector<int> QtFontEngine::advances(const font_spec& font, std::string_view text) {
  sized_font* f = find(font);
  if (!f->ok) return std::vector<int>(text.size(), 0);
  return glyph_advances(*f, glyphs_for(f->raw, text));
}

bool QtFontEngine::prepare_run(const font_spec& font, std::string_view text, qt_text_run& run) {
  sized_font* f = find(font);
  if (!f->ok) return false;
  run.raw_font = f->raw;
  run.glyphs = glyphs_for(f->raw, text);
  std::vector<int> adv = glyph_advances(*f, run.glyphs);
  run.positions.resize(run.glyphs.size());
  run.stretch_x = f->stretch_x;
  int x = 0;
  for (std::size_t i = 0; i < adv.size(); ++i) {
    run.positions[static_cast<qsizetype>(i)] = QPointF(x / f->stretch_x, 0.0);
    x += adv[i];
  }
  run.width = x;
  run.ascent = f->m.ascent;
  run.descent = f->m.descent;
  return true;
}

bool QtFontEngine::outline(const font_spec& font, unsigned char ch, glyph_outline& out) {
  out = {};
  sized_font* f = find(font);
  if (!f->ok) return false;
  QString s(QChar(static_cast<char16_t>(cp1252_to_unicode(ch))));
  QVector<quint32> glyphs = f->raw.glyphIndexesForString(s);
  if (glyphs.size() != 1 || glyphs[0] == 0) return false;  // the face has no glyph for it
  std::vector<int> adv = glyph_advances(*f, glyphs);
  out.cell_inc_x = adv.empty() ? 0 : adv[0];
  out.cell_inc_y = 0;

  // Qt gives the outline in pixels, y down; ours is y up, stretched.
  QPainterPath path = f->raw.pathForGlyph(glyphs[0]);
  const double sx = f->stretch_x;
  auto point = [&](const QPainterPath::Element& e) { return glyph_point{e.x * sx, -e.y}; };
  glyph_contour* contour = nullptr;
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element& e = path.elementAt(i);
    if (e.isMoveTo()) {
      out.contours.emplace_back();
      contour = &out.contours.back();
      contour->start = point(e);
    } else if (e.isLineTo()) {
      if (!contour) continue;
      if (contour->segments.empty() || contour->segments.back().kind != glyph_segment::line)
        contour->segments.push_back({glyph_segment::line, {}});
      contour->segments.back().points.push_back(point(e));
    } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
      if (!contour) continue;
      if (contour->segments.empty() || contour->segments.back().kind != glyph_segment::cubic)
        contour->segments.push_back({glyph_segment::cubic, {}});
      auto& pts = contour->segments.back().points;
      pts.push_back(point(e));
      pts.push_back(point(path.elementAt(i + 1)));
      pts.push_back(point(path.elementAt(i + 2)));
      i += 2;
    }
  }
  // Contours are closed implicitly: drop a final line back to the start.
  for (glyph_contour& c : out.contours) {
    if (c.segments.empty() || c.segments.back().kind != glyph_segment::line) continue;
    auto& pts = c.segments.back().points;
    if (!pts.empty() && pts.back().x == c.start.x && pts.back().y == c.start.y) pts.pop_back();
    if (pts.empty()) c.segments.pop_back();
  }
  std::erase_if(out.contours, [](const glyph_contour& c) { return c.segments.empty(); });

  QRectF box = path.boundingRect();  // y down
  if (!out.contours.empty()) {
    int left = static_cast<int>(std::floor(box.left() * sx));
    int right = static_cast<int>(std::ceil(box.right() * sx));
    int top = static_cast<int>(std::ceil(-box.top()));
    int bottom = static_cast<int>(std::floor(-box.bottom()));
    out.origin_x = left;
    out.origin_y = top;
    out.black_box_x = std::max(1, right - left);
    out.black_box_y = std::max(1, top - bottom);
  }
  return !out.contours.empty();
}
