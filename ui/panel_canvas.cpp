#include "panel_canvas.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "resources/panel.h"

namespace corvane::ui {

PanelCanvas::PanelCanvas(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(sizeHint());
}

void PanelCanvas::SetPicture(const PixelBuffer* picture) {
  picture_ = picture;
  update();
}

void PanelCanvas::SetZoom(int zoom) {
  zoom_ = zoom == 2 ? 2 : 1;
  setFixedSize(sizeHint());
  update();
}

QSize PanelCanvas::sizeHint() const {
  return {kCanvasWidth * zoom_, kCanvasHeight * zoom_};
}

QPoint PanelCanvas::CanvasPoint(const QPoint& widget_pos) const {
  // Floor division keeps negative positions outside the canvas.
  auto floor_div = [this](int v) { return v >= 0 ? v / zoom_ : -((-v + zoom_ - 1) / zoom_); };
  return {floor_div(widget_pos.x()), floor_div(widget_pos.y())};
}

void PanelCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (picture_ == nullptr || picture_->Width() <= 0 || picture_->Height() <= 0) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  // The buffer's rows are R, G, B bytes without padding: the image only looks at them.
  const QImage image(picture_->Data().data(), picture_->Width(), picture_->Height(),
                     picture_->Width() * 3, QImage::Format_RGB888);
  painter.drawImage(QRect(0, 0, picture_->Width() * zoom_, picture_->Height() * zoom_), image);
}

void PanelCanvas::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const QPoint p = CanvasPoint(event->position().toPoint());
  emit Pressed(p.x(), p.y(), event->button());
}

void PanelCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = CanvasPoint(event->position().toPoint());
  emit Moved(p.x(), p.y(), event->buttons());
}

void PanelCanvas::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = CanvasPoint(event->position().toPoint());
  emit Released(p.x(), p.y());
}

void PanelCanvas::keyPressEvent(QKeyEvent* event) {
  const bool coarse = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Left:
      emit Nudged(-1, 0, coarse);
      break;
    case Qt::Key_Right:
      emit Nudged(1, 0, coarse);
      break;
    case Qt::Key_Up:
      emit Nudged(0, -1, coarse);
      break;
    case Qt::Key_Down:
      emit Nudged(0, 1, coarse);
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

}  // namespace corvane::ui
