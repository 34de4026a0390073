#include "colour_popup.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "ui_text.h"

namespace corvane::ui {

namespace {
constexpr int kSwatch = 20;
constexpr int kPitch = 24;
constexpr int kColourRow = 264;     // "Color :" ... "Transparencia :" are rows 264-268
constexpr int kFirstModeRow = 269;  // "Transparente 100%", "Opaco", "Transparente 50%"

QString Hex(int v, int digits) {
  return QStringLiteral("%1").arg(v, digits, 16, QLatin1Char('0')).toUpper();
}
}  // namespace

TForm11::TForm11(const TMHWPalette& palette, int current,
                 std::function<void(const QString&)> status, QWidget* parent)
    : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint),
      palette_(palette),
      current_(current),
      chosen_(current),
      status_(std::move(status)),
      timer_(new QTimer(this)) {
  setFixedSize(4 * kPitch + (kPitch - kSwatch), 4 * kPitch + (kPitch - kSwatch));
  setMouseTracking(true);
  timer_->setInterval(60);
  connect(timer_, &QTimer::timeout, this, &TForm11::Pulse);
}

int TForm11::Elegir(const QPoint& top_right) {
  move(top_right.x() - width() + 1, top_right.y());
  timer_->start();
  exec();
  timer_->stop();
  if (status_) status_(QString());
  return chosen_;
}

int TForm11::SwatchAt(const QPoint& pos) {
  const int off = (kPitch - kSwatch) / 2;
  const int col = (pos.x() - off) / kPitch, row = (pos.y() - off) / kPitch;
  if (pos.x() < off || pos.y() < off || col > 3 || row > 3) return -1;
  if ((pos.x() - off) % kPitch >= kSwatch || (pos.y() - off) % kPitch >= kSwatch) return -1;
  return row * 4 + col;
}

QString TForm11::Describe(int i) const {
  const PaletteEntry& e = palette_.entries[static_cast<std::size_t>(i)];
  const QString sep = QStringLiteral(" -- ");
  const QString mode = e.mode <= 2 ? Msg(kFirstModeRow + e.mode) : Hex(e.mode, 2);
  return Msg(kColourRow) + ' ' + Hex(i, 1) + sep + Msg(kColourRow + 1) + ' ' + Hex(e.red, 2) + sep +
         Msg(kColourRow + 2) + ' ' + Hex(e.green, 2) + sep + Msg(kColourRow + 3) + ' ' +
         Hex(e.blue, 2) + sep + Msg(kColourRow + 4) + ' ' + mode;
}

void TForm11::Pulse() {
  // The grey of the "X" rises and falls by 30 between 0 and 255.
  int next = grey_ + step_;
  if (next > 255) {
    next = 255;
    step_ = -30;
  } else if (next < 0) {
    next = 0;
    step_ = 30;
  }
  grey_ = next;
  update();
}

void TForm11::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const int off = (kPitch - kSwatch) / 2;
  for (int i = 0; i < 16; ++i) {
    const Rgb c = palette_.entries[static_cast<std::size_t>(i)].Colour();
    const QRect r(off + (i % 4) * kPitch, off + (i / 4) * kPitch, kSwatch, kSwatch);
    painter.fillRect(r, QColor(c.r, c.g, c.b));
    if (i == current_) {
      painter.setPen(QColor(grey_, grey_, grey_));
      painter.drawText(r, Qt::AlignCenter, QStringLiteral("X"));
    }
  }
}

void TForm11::mouseMoveEvent(QMouseEvent* event) {
  const int i = SwatchAt(event->position().toPoint());
  if (status_) status_(i >= 0 ? Describe(i) : QString());
}

void TForm11::mousePressEvent(QMouseEvent* event) {
  const int i =
      rect().contains(event->position().toPoint()) ? SwatchAt(event->position().toPoint()) : -1;
  chosen_ = i >= 0 ? i : current_;
  accept();
}

}  // namespace corvane::ui
