// The panel editor's canvas: shows the 576 x 486 picture the core renderer made, at 1x or 2x,
// and reports the mouse and the arrow keys in canvas pixels. It never draws elements itself.
#pragma once

#include <QWidget>

#include "render/pixel_buffer.h"

namespace corvane::ui {

class PanelCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit PanelCanvas(QWidget* parent = nullptr);

  // The picture shown (owned by the editor; repainted on Refresh).
  void SetPicture(const PixelBuffer* picture);
  void Refresh() { update(); }
  int Zoom() const { return zoom_; }
  void SetZoom(int zoom);  // 1 or 2
  QSize sizeHint() const override;
  // The canvas pixel under a widget position (may lie outside the canvas).
  QPoint CanvasPoint(const QPoint& widget_pos) const;

 signals:
  void Pressed(int x, int y, Qt::MouseButton button);
  void Moved(int x, int y, Qt::MouseButtons buttons);
  void Released(int x, int y);
  // An arrow key: one step in (dx, dy); `coarse` with Shift.
  void Nudged(int dx, int dy, bool coarse);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const PixelBuffer* picture_ = nullptr;
  int zoom_ = 1;
};

}  // namespace corvane::ui
