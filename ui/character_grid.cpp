#include "character_grid.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "render/font_render.h"
#include "ui_text.h"
#include "virtual_keyboard.h"

namespace corvane::ui {

namespace {
constexpr int kCharacterRow = 49;  // "Carácter :"
}  // namespace

QString CharacterStatus(int code) {
  return QStringLiteral("%1 %2 (0x%3)")
      .arg(Msg(kCharacterRow))
      .arg(code)
      .arg(QString::number(code, 16).rightJustified(2, QLatin1Char('0')).toUpper());
}

CharacterGrid::CharacterGrid(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

void CharacterGrid::Draw(const TMHWFont& fonts, int font) {
  highlighted_ = -1;
  const bool valid = fonts.Valid(font);
  cell_w_ = valid ? std::max(1, fonts.MaxWidth(font)) : 1;
  cell_h_ = valid ? std::max(1, static_cast<int>(fonts.fonts[static_cast<std::size_t>(font)].height))
                  : 1;
  picture_ = PixelBuffer(16 * cell_w_, 16 * cell_h_, Rgb{255, 255, 255});
  if (valid) {
    for (int code = 0; code < kGlyphCount; ++code)
      DibujaLetra(picture_, fonts, code, font, (code % 16) * cell_w_, (code / 16) * cell_h_, Rgb{});
  }
  setFixedSize(picture_.Width(), picture_.Height());
  update();
}

void CharacterGrid::PointerAt(int x, int y) {
  if (!picture_.Contains(x, y)) return;
  const int code = (y / cell_h_) * 16 + x / cell_w_;
  if (code == highlighted_) return;
  InvertOutline(code);
  if (highlighted_ >= 0) InvertOutline(highlighted_);
  highlighted_ = code;
  update();
  if (on_highlight) on_highlight(code);
}

void CharacterGrid::ClearHighlight() {
  if (highlighted_ >= 0) InvertOutline(highlighted_);
  highlighted_ = -1;
  update();
}

void CharacterGrid::InvertOutline(int code) {
  const int x0 = (code % 16) * cell_w_;
  const int y0 = (code / 16) * cell_h_;
  const int x1 = x0 + cell_w_ - 1;
  const int y1 = y0 + cell_h_ - 1;
  auto invert = [this](int x, int y) {
    const Rgb c = picture_.Get(x, y);
    picture_.Set(x, y,
                 Rgb{static_cast<std::uint8_t>(~c.r), static_cast<std::uint8_t>(~c.g),
                     static_cast<std::uint8_t>(~c.b)});
  };
  // Every outline pixel exactly once, also for cells one pixel wide or high.
  for (int x = x0; x <= x1; ++x) {
    invert(x, y0);
    if (y1 != y0) invert(x, y1);
  }
  for (int y = y0 + 1; y < y1; ++y) {
    invert(x0, y);
    if (x1 != x0) invert(x1, y);
  }
}

void CharacterGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, ToImage(picture_));
}

void CharacterGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  PointerAt(p.x(), p.y());
}

void CharacterGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  PointerAt(p.x(), p.y());
  if (highlighted_ >= 0 && on_press) on_press();
}

}  // namespace corvane::ui
