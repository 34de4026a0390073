// The colour choice popup of the panel editor (TForm11): the palette's 16 colours as a 4 x 4 grid
// of swatches, the current one marked by a pulsing "X"; the colour under the pointer is described
// in the main window's status bar.
#pragma once

#include <QDialog>
#include <functional>

#include "resources/palette.h"

class QTimer;

namespace corvane::ui {

class TForm11 : public QDialog {
  Q_OBJECT

 public:
  // `status` writes the main window's status text.
  TForm11(const TMHWPalette& palette, int current, std::function<void(const QString&)> status,
          QWidget* parent = nullptr);

  // Shows the popup with its top-right corner at `top_right` (global) and returns the chosen
  // index: the clicked swatch, or the current index for a click elsewhere.
  int Elegir(const QPoint& top_right);

  // The swatch under a point of the popup, or -1.
  static int SwatchAt(const QPoint& pos);
  // The status text describing colour i.
  QString Describe(int i) const;
  int Grey() const { return grey_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Pulse();

  TMHWPalette palette_;
  int current_;
  int chosen_;
  std::function<void(const QString&)> status_;
  QTimer* timer_;
  int grey_ = 0;
  int step_ = 30;
};

}  // namespace corvane::ui
