// The 16 x 16 grid of one font's 256 characters that the virtual keyboard and the character map
// show: cell (c mod 16, c div 16) holds glyph c, as wide as the font's widest glyph and as high as
// the font. The cell under the pointer is outlined by inverting its border.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "render/pixel_buffer.h"
#include "resources/font_set.h"

namespace corvane::ui {

class CharacterGrid : public QWidget {
 public:
  explicit CharacterGrid(QWidget* parent = nullptr);

  // Draws font `font` of `fonts` (a missing font gives blank one-pixel cells); nothing is
  // highlighted.
  void Draw(const TMHWFont& fonts, int font);
  // The pointer at (x, y) of the picture: the cell under it becomes the highlighted one.
  void PointerAt(int x, int y);
  // Removes the outline.
  void ClearHighlight();

  int Highlighted() const { return highlighted_; }  // -1: none
  const PixelBuffer& Picture() const { return picture_; }
  int CellWidth() const { return cell_w_; }
  int CellHeight() const { return cell_h_; }

  // Called when another cell is highlighted, and when a mouse button is pressed on the grid.
  std::function<void(int code)> on_highlight;
  std::function<void()> on_press;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void InvertOutline(int code);

  PixelBuffer picture_;
  int cell_w_ = 1;
  int cell_h_ = 1;
  int highlighted_ = -1;
};

// The status text of a character: "Carácter : 66 (0x42)".
QString CharacterStatus(int code);

}  // namespace corvane::ui
