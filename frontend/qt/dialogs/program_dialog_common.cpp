// The program dialogs' shared pieces (see program_dialog_common.h).
#include "frontend/qt/dialogs/program_dialog_common.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

#include "ports/font_engine.h"

namespace {

QFont sans_font() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QFont pixel_font(int pixels) {
  QFont font = sans_font();
  font.setPixelSize(pixels);
  font.setWeight(QFont::Medium);
  return font;
}

}  // namespace

QFont dialog_font_medium() { return pixel_font(18); }
QFont dialog_font_large() { return pixel_font(22); }

QFont template_font(int point_size) {
  QFont font = sans_font();
  font.setPointSize(point_size);
  return font;
}

void center_window(QWidget& window) {
  if (!window.testAttribute(Qt::WA_Resized)) window.adjustSize();
  QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QSize outer = window.frameGeometry().size();
  const int x = (area.width() - outer.width()) / 2, y = (area.height() - outer.height()) / 2;
  window.move(area.x() + (x < 0 ? 0 : x), area.y() + (y < 0 ? 0 : y));
}

QString dialog_text(const std::string& bytes) {
  QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
  if (QByteArrayView(data).isValidUtf8()) return QString::fromUtf8(data);
  QString text;
  text.reserve(data.size());
  for (char c : data) text += QChar(static_cast<char16_t>(cp1252_to_unicode(static_cast<unsigned char>(c))));
  return text;
}

std::string dialog_bytes(const QString& text) { return text.toUtf8().toStdString(); }

ModelessDialog::ModelessDialog(QWidget* parent) : QDialog(parent) {
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose, false);
}

void ModelessDialog::reject() { finish(dialog_cancelled); }

void ModelessDialog::finish(int answer) {
  if (answer_ != dialog_still_open) return;
  answer_ = answer;
  QDialog::done(answer == dialog_cancelled ? QDialog::Rejected : QDialog::Accepted);
}
