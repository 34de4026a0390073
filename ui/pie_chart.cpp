#include "pie_chart.h"

#include <QPainter>
#include <algorithm>

namespace corvane::ui {

PieChart::PieChart(QWidget* parent) : QWidget(parent) { setMinimumSize(48, 48); }

void PieChart::SetPosition(int position) {
  position_ = std::clamp(position, 0, 100);
  update();
}

void PieChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const int side = std::min(width(), height()) - 2;
  const QRectF disc((width() - side) / 2.0, (height() - side) / 2.0, side, side);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(QColor(0, 0, 128));
  painter.drawEllipse(disc);
  if (position_ > 0) {
    painter.setBrush(Qt::white);
    // Qt angles are in 1/16 degree, counter-clockwise from three o'clock: start at twelve and
    // go clockwise.
    const int span = -position_ * 360 * 16 / 100;
    if (position_ >= 100) {
      painter.drawEllipse(disc);
    } else {
      painter.drawPie(disc, 90 * 16, span);
    }
  }
}

}  // namespace corvane::ui
