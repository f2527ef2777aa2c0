// Drawing devices on QPainter (see qt_draw_device.h).
#include "frontend/qt/draw/qt_draw_device.h"

#include <QGlyphRun>
#include <QTransform>
#include <cmath>

namespace {

QColor to_qcolor(draw_color c) { return QColor(draw_red(c), draw_green(c), draw_blue(c)); }

Qt::BrushStyle hatch_pattern(hatch_style h) {
  switch (h) {
    case hatch_style::horizontal: return Qt::HorPattern;
    case hatch_style::vertical: return Qt::VerPattern;
    case hatch_style::fdiagonal: return Qt::FDiagPattern;
    case hatch_style::bdiagonal: return Qt::BDiagPattern;
    case hatch_style::cross: return Qt::CrossPattern;
    case hatch_style::diagcross: return Qt::DiagCrossPattern;
  }
  return Qt::HorPattern;
}

// Dash patterns in pen widths: a one-pixel pen uses the classic pixel runs,
// wider pens runs proportional to their width.
QList<qreal> dash_pattern(pen_style style, bool thin) {
  switch (style) {
    case pen_style::dash: return thin ? QList<qreal>{18, 6} : QList<qreal>{3, 1};
    case pen_style::dot: return thin ? QList<qreal>{3, 3} : QList<qreal>{1, 1};
    case pen_style::dash_dot: return thin ? QList<qreal>{9, 6, 3, 6} : QList<qreal>{3, 1, 1, 1};
    case pen_style::dash_dot_dot: return thin ? QList<qreal>{9, 3, 3, 3, 3, 3} : QList<qreal>{3, 1, 1, 1, 1, 1};
    default: return {};
  }
}

QRectF box_rect(int left, int top, int right, int bottom) {
  return QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
}

}  // namespace

QtPainterDevice::QtPainterDevice(QPainter& painter, int width_px, int height_px, double ppi_x, double ppi_y,
                                 QtFontEngine& fonts)
    : painter_(painter), width_(width_px), height_(height_px), ppi_x_(ppi_x), ppi_y_(ppi_y), fonts_(fonts) {
  font_.height = 16;
  if (painter_.isActive()) apply_painter_state();
}

void QtPainterDevice::apply_painter_state() {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setBackgroundMode(transparent_ ? Qt::TransparentMode : Qt::OpaqueMode);
  painter_.setBackground(QBrush(to_qcolor(background_)));
}

QPen QtPainterDevice::make_pen() const {
  if (pen_.style == pen_style::none) return QPen(Qt::NoPen);
  int w = std::max(1, pen_.width);
  QPen pen(to_qcolor(pen_.color));
  pen.setWidth(w);
  pen.setJoinStyle(Qt::RoundJoin);
  pen.setCapStyle(w > 1 ? Qt::RoundCap : Qt::FlatCap);
  QList<qreal> dashes = dash_pattern(pen_.style, w <= 1);
  if (!dashes.isEmpty()) {
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern(dashes);
  }
  return pen;
}

QBrush QtPainterDevice::make_brush() const {
  switch (brush_.kind) {
    case brush_kind::none: return QBrush(Qt::NoBrush);
    case brush_kind::solid: return QBrush(to_qcolor(brush_.color));
    case brush_kind::hatched: return QBrush(to_qcolor(brush_.color), hatch_pattern(brush_.hatch));
  }
  return QBrush(Qt::NoBrush);
}

void QtPainterDevice::select_pen(const pen_spec& pen) { pen_ = pen; }
void QtPainterDevice::select_brush(const brush_spec& brush) { brush_ = brush; }
void QtPainterDevice::select_font(const font_spec& font) { font_ = font; }

void QtPainterDevice::set_background_transparent(bool transparent) {
  transparent_ = transparent;
  painter_.setBackgroundMode(transparent ? Qt::TransparentMode : Qt::OpaqueMode);
}

void QtPainterDevice::set_background_color(draw_color color) {
  background_ = color;
  painter_.setBackground(QBrush(to_qcolor(color)));
}

void QtPainterDevice::set_clip_rect(int left, int top, int right, int bottom) {
  QRectF r = box_rect(left, top, right, bottom);
  if (has_base_clip_) r = r.intersected(base_clip_);
  painter_.setClipRect(r, Qt::ReplaceClip);
}

void QtPainterDevice::clear_clip() {
  if (has_base_clip_) painter_.setClipRect(base_clip_, Qt::ReplaceClip);
  else painter_.setClipping(false);
}

void QtPainterDevice::set_base_clip(int left, int top, int right, int bottom) {
  has_base_clip_ = true;
  base_clip_ = box_rect(left, top, right, bottom);
  painter_.setClipRect(base_clip_, Qt::ReplaceClip);
}

// --- figures ---------------------------------------------------------------

void QtPainterDevice::ensure_figure() {
  if (!figure_open_) {
    path_.moveTo(current_.x, current_.y);
    figure_open_ = true;
  }
}

void QtPainterDevice::draw_open(const QPainterPath& figure) {
  painter_.strokePath(figure, make_pen());
}

void QtPainterDevice::draw_closed(const QPainterPath& outline, const QPainterPath& fill_area) {
  if (recording_) {
    path_.addPath(outline);
    figure_open_ = false;
    return;
  }
  QBrush brush = make_brush();
  if (brush.style() != Qt::NoBrush) painter_.fillPath(fill_area, brush);
  if (pen_.style != pen_style::none) painter_.strokePath(outline, make_pen());
}

void QtPainterDevice::move_to(int x, int y) {
  current_ = {x, y};
  if (recording_) {
    path_.moveTo(x, y);
    figure_open_ = true;
  }
}

void QtPainterDevice::line_to(int x, int y) {
  if (recording_) {
    ensure_figure();
    path_.lineTo(x, y);
  } else if (pen_.style != pen_style::none) {
    QPainterPath line(QPointF(current_.x, current_.y));
    line.lineTo(x, y);
    draw_open(line);
  }
  current_ = {x, y};
}

void QtPainterDevice::polyline(const draw_point* points, std::size_t count) {
  if (count < 2) return;
  QPainterPath line(QPointF(points[0].x, points[0].y));
  for (std::size_t i = 1; i < count; ++i) line.lineTo(points[i].x, points[i].y);
  if (recording_) {
    path_.addPath(line);  // a new figure
    figure_open_ = true;
  } else if (pen_.style != pen_style::none) {
    draw_open(line);
  }
}

void QtPainterDevice::polyline_to(const draw_point* points, std::size_t count) {
  if (count == 0) return;
  if (recording_) {
    ensure_figure();
    for (std::size_t i = 0; i < count; ++i) path_.lineTo(points[i].x, points[i].y);
  } else if (pen_.style != pen_style::none) {
    QPainterPath line(QPointF(current_.x, current_.y));
    for (std::size_t i = 0; i < count; ++i) line.lineTo(points[i].x, points[i].y);
    draw_open(line);
  }
  current_ = points[count - 1];
}

void QtPainterDevice::poly_bezier(const draw_point* points, std::size_t count) {
  if (count < 4) return;
  QPainterPath curve(QPointF(points[0].x, points[0].y));
  for (std::size_t i = 1; i + 2 < count; i += 3)
    curve.cubicTo(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, points[i + 2].x, points[i + 2].y);
  if (recording_) {
    path_.addPath(curve);
    figure_open_ = true;
  } else if (pen_.style != pen_style::none) {
    draw_open(curve);
  }
}

void QtPainterDevice::poly_bezier_to(const draw_point* points, std::size_t count) {
  if (count < 3) return;
  QPainterPath curve(QPointF(current_.x, current_.y));
  QPainterPath& target = recording_ ? path_ : curve;
  if (recording_) ensure_figure();
  std::size_t last = 0;
  for (std::size_t i = 0; i + 2 < count; i += 3) {
    target.cubicTo(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, points[i + 2].x, points[i + 2].y);
    last = i + 2;
  }
  if (!recording_ && pen_.style != pen_style::none) draw_open(curve);
  current_ = points[last];
}

void QtPainterDevice::rectangle(int left, int top, int right, int bottom) {
  QRectF area = box_rect(left, top, right, bottom);
  if (recording_) {
    QPainterPath p;
    p.addRect(area);
    draw_closed(p, p);
    return;
  }
  QPainterPath fill;
  fill.addRect(area);
  // The border runs through the outermost pixels (or, for an inside-frame
  // pen, lies wholly inside the box).
  double inset = pen_.style == pen_style::inside_frame && pen_.width > 1 ? (pen_.width - 1) / 2.0 : 0.0;
  QRectF border = area.adjusted(inset, inset, -1.0 - inset, -1.0 - inset);
  QPainterPath outline;
  if (border.width() >= 0 && border.height() >= 0) outline.addRect(border);
  draw_closed(outline, fill);
}

void QtPainterDevice::ellipse(int left, int top, int right, int bottom) {
  QRectF area = box_rect(left, top, right, bottom);
  if (recording_) {
    QPainterPath p;
    p.addEllipse(area);
    draw_closed(p, p);
    return;
  }
  QPainterPath fill;
  fill.addEllipse(area);
  double inset = pen_.style == pen_style::inside_frame && pen_.width > 1 ? (pen_.width - 1) / 2.0 : 0.0;
  QRectF border = area.adjusted(inset, inset, -1.0 - inset, -1.0 - inset);
  QPainterPath outline;
  if (border.width() >= 0 && border.height() >= 0) outline.addEllipse(border);
  draw_closed(outline, fill);
}

void QtPainterDevice::polygon(const draw_point* points, std::size_t count) {
  if (count < 2) return;
  QPainterPath p(QPointF(points[0].x, points[0].y));
  for (std::size_t i = 1; i < count; ++i) p.lineTo(points[i].x, points[i].y);
  p.closeSubpath();
  p.setFillRule(fill_rule());
  draw_closed(p, p);
}

void QtPainterDevice::fill_rect(int left, int top, int right, int bottom, draw_color color) {
  painter_.fillRect(box_rect(left, top, right, bottom), to_qcolor(color));
}

// --- paths -----------------------------------------------------------------

void QtPainterDevice::begin_path() {
  path_ = QPainterPath();
  recording_ = true;
  figure_open_ = false;
}

void QtPainterDevice::end_path() { recording_ = false; }

void QtPainterDevice::close_figure() {
  if (recording_ && figure_open_) {
    path_.closeSubpath();
    figure_open_ = false;
  }
}

void QtPainterDevice::stroke_path() {
  if (pen_.style != pen_style::none) painter_.strokePath(path_, make_pen());
  path_ = QPainterPath();
}

void QtPainterDevice::fill_path() {
  path_.setFillRule(fill_rule());
  QBrush brush = make_brush();
  if (brush.style() != Qt::NoBrush) painter_.fillPath(path_, brush);
  path_ = QPainterPath();
}

void QtPainterDevice::stroke_and_fill_path() {
  path_.setFillRule(fill_rule());
  QBrush brush = make_brush();
  if (brush.style() != Qt::NoBrush) painter_.fillPath(path_, brush);
  if (pen_.style != pen_style::none) painter_.strokePath(path_, make_pen());
  path_ = QPainterPath();
}

// --- text ------------------------------------------------------------------

void QtPainterDevice::text_out(int x, int y, std::string_view text) {
  if (text.empty()) return;
  qt_text_run run;
  if (!fonts_.prepare_run(font_, text, run)) return;

  // The reference point chosen by the alignment, in the text's own frame.
  double dx = 0;
  if ((text_align_ & text_align_center) == text_align_center) dx = -run.width / 2.0;
  else if (text_align_ & text_align_right) dx = -run.width;
  double dy = 0;  // baseline
  if ((text_align_ & text_align_baseline) == text_align_baseline) dy = 0;
  else if (text_align_ & text_align_bottom) dy = -run.descent;
  else dy = run.ascent;

  QTransform frame;
  frame.translate(x, y);
  if (font_.escapement != 0) frame.rotate(-font_.escapement / 10.0);
  frame.translate(dx, dy);

  if (recording_) {
    // Text in a path adds its glyph outlines.
    for (qsizetype i = 0; i < run.glyphs.size(); ++i) {
      QTransform glyph = QTransform::fromScale(run.stretch_x, 1.0) * QTransform::fromTranslate(
                             run.positions[i].x() * run.stretch_x, 0) * frame;
      path_.addPath(glyph.map(run.raw_font.pathForGlyph(run.glyphs[i])));
    }
    figure_open_ = false;
    return;
  }

  painter_.save();
  painter_.setTransform(frame, true);
  if (!transparent_)
    painter_.fillRect(QRectF(0, -run.ascent, run.width, run.ascent + run.descent), to_qcolor(background_));
  painter_.setBackgroundMode(Qt::TransparentMode);  // the cell is filled above; Qt's opaque text drops the glyphs
  painter_.scale(run.stretch_x, 1.0);
  QGlyphRun glyphs;
  glyphs.setRawFont(run.raw_font);
  glyphs.setGlyphIndexes(run.glyphs);
  glyphs.setPositions(run.positions);
  glyphs.setUnderline(font_.underline);
  glyphs.setStrikeOut(font_.strike_out);
  painter_.setPen(to_qcolor(text_color_));
  painter_.drawGlyphRun(QPointF(0, 0), glyphs);
  painter_.restore();
}

bool QtPainterDevice::get_pixel(int x, int y, draw_color& color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  return read_pixel(x, y, color);
}

// --- image device ----------------------------------------------------------

QtImageDevice::QtImageDevice(int width_px, int height_px, double ppi_x, double ppi_y, QtFontEngine& fonts,
                             draw_color fill)
    : QtImageDevice(std::make_unique<holder>(), width_px, height_px, ppi_x, ppi_y, fonts, fill) {}

QtImageDevice::QtImageDevice(std::unique_ptr<holder> h, int width_px, int height_px, double ppi_x, double ppi_y,
                             QtFontEngine& fonts, draw_color fill)
    : QtPainterDevice(h->painter, width_px, height_px, ppi_x, ppi_y, fonts), holder_(std::move(h)),
      image_(&holder_->image) {
  if (width_px < 1 || height_px < 1) return;
  holder_->image = QImage(width_px, height_px, QImage::Format_RGB32);
  if (holder_->image.isNull()) return;
  holder_->image.fill(to_qcolor(fill));
  double dpm_x = ppi_x / 0.0254, dpm_y = ppi_y / 0.0254;
  if (std::isfinite(dpm_x) && dpm_x >= 1 && dpm_x < 1e9) holder_->image.setDotsPerMeterX(static_cast<int>(dpm_x));
  if (std::isfinite(dpm_y) && dpm_y >= 1 && dpm_y < 1e9) holder_->image.setDotsPerMeterY(static_cast<int>(dpm_y));
  if (!holder_->painter.begin(&holder_->image)) return;
  apply_painter_state();
  ok_ = true;
}

QtImageDevice::~QtImageDevice() {
  if (holder_->painter.isActive()) holder_->painter.end();
}

bool QtImageDevice::read_pixel(int x, int y, draw_color& color) {
  if (!ok_ || x >= image_->width() || y >= image_->height()) return false;
  QRgb p = image_->pixel(x, y);
  color = draw_rgb(qRed(p), qGreen(p), qBlue(p));
  return true;
}
