// The font engine on Qt's font stack: faces resolved through fontconfig
// (Windows names such as Arial find their metric-compatible faces), sizes as
// cell heights, metrics, integer advances, and glyph outlines. Every Qt
// drawing device draws its text with the glyph runs prepared here, so what
// is measured is what is drawn.
#pragma once
#include <QRawFont>
#include <QString>
#include <QVector>
#include <QPointF>
#include <list>

#include "ports/font_engine.h"

// One run of text ready to draw: glyphs of raw_font, their pen positions on
// the baseline in unstretched font pixels, and the horizontal stretch that
// turns them into device pixels (the font's explicit width).
struct qt_text_run {
  QRawFont raw_font;
  QVector<quint32> glyphs;
  QVector<QPointF> positions;
  double stretch_x = 1.0;
  int width = 0;    // advance of the whole run in device pixels
  int ascent = 0;
  int descent = 0;
};

class QtFontEngine final : public FontEngine {
 public:
  bool metrics(const font_spec& font, font_metrics& out) override;
  text_size extent(const font_spec& font, std::string_view text) override;
  std::vector<int> advances(const font_spec& font, std::string_view text) override;
  bool outline(const font_spec& font, unsigned char ch, glyph_outline& out) override;

  // Prepares text (Windows-1252 bytes) for drawing. False when no font can
  // be made for font.
  bool prepare_run(const font_spec& font, std::string_view text, qt_text_run& run);

  // The family fontconfig picks for a face name (empty: the default sans or
  // fixed-pitch face).
  static QString resolve_family(const std::string& face, bool fixed_pitch);

 private:
  struct sized_font {
    font_spec spec;
    bool ok = false;
    QRawFont raw;           // at the pixel size that gives the cell height
    double stretch_x = 1.0; // explicit width over the natural average width
    font_metrics m;
  };
  sized_font* find(const font_spec& font);
  std::vector<int> glyph_advances(sized_font& f, const QVector<quint32>& glyphs);
  static QVector<quint32> glyphs_for(const QRawFont& raw, std::string_view text);

  std::list<sized_font> cache_;  // most recently used first
};
