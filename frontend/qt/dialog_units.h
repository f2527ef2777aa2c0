// Dialog units: template positions are in quarters of the dialog font's
// average character width and eighths of its height.
#pragma once
#include <QFont>
#include <QFontMetricsF>
#include <QRect>

struct DialogUnits {
  double base_x = 6.0;   // average character width in pixels
  double base_y = 13.0;  // character height in pixels
  QRect rect(int x, int y, int w, int h) const {
    return QRect(qRound(x * base_x / 4), qRound(y * base_y / 8), qRound(w * base_x / 4), qRound(h * base_y / 8));
  }
  QSize size(int w, int h) const { return QSize(qRound(w * base_x / 4), qRound(h * base_y / 8)); }
};

inline DialogUnits dialog_units_for(const QFont& font) {
  QFontMetricsF metrics(font);
  DialogUnits units;
  units.base_x = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
  units.base_y = metrics.height();
  if (units.base_x < 1) units.base_x = 6.0;
  if (units.base_y < 1) units.base_y = 13.0;
  return units;
}

// The factor that shrinks a dialog of size needed to fit into room (both in
// pixels): 1 when it fits as it is.
inline double fit_scale(QSize needed, QSize room) {
  if (needed.isEmpty() || room.isEmpty()) return 1.0;
  double scale = qMin(double(room.width()) / needed.width(), double(room.height()) / needed.height());
  return scale < 1.0 ? scale : 1.0;
}
