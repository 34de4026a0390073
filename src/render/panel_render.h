// Drawing a panel as the receiver shows it, into the 576 x 486 work buffer: fills, the six border
// kinds, texts in the firmware's fonts, icons and images, the animated selection border and the
// dot grid. Nothing is drawn outside the buffer: every rectangle is clipped to it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/rgb.h"
#include "render/pixel_buffer.h"
#include "resources/panel.h"
#include "resources/panel_layout.h"

namespace corvane {

using PanelPalette = std::array<Rgb, 16>;

// What a panel draws with besides itself: the font set, the icons of its collection and the
// images of the firmware, already drawn with the palette in use. Calls are per line or per
// picture, never per pixel.
class PanelSources {
 public:
  virtual ~PanelSources() = default;
  // The font set as panels choose fonts (by name and size).
  virtual std::span<const FontKey> Fonts() const = 0;
  virtual int FontHeight(int font) const = 0;
  virtual int TextWidth(std::string_view text, int font) const = 0;
  // Draws the glyphs that lie wholly inside `clip` (inclusive corners), pen starting at x.
  virtual void DrawText(PixelBuffer& target, std::string_view text, const PanelRect& clip,
                        int font, int x, int y, Rgb colour) const = 0;
  // The picture of the collection's icon with that exact name; nullptr when there is none.
  virtual const PixelBuffer* Icon(std::string_view name) const = 0;
  // The picture of the image DIR:NAME.rf4; nullptr when there is none.
  virtual const PixelBuffer* Image(std::string_view reference) const = 0;
};

// A source without fonts, icons or images (text measures 0 and draws nothing).
class NoPanelSources : public PanelSources {
 public:
  std::span<const FontKey> Fonts() const override { return {}; }
  int FontHeight(int) const override { return 0; }
  int TextWidth(std::string_view, int) const override { return 0; }
  void DrawText(PixelBuffer&, std::string_view, const PanelRect&, int, int, int,
                Rgb) const override {}
  const PixelBuffer* Icon(std::string_view) const override { return nullptr; }
  const PixelBuffer* Image(std::string_view) const override { return nullptr; }
};

// What is shown: the language (0..4), the style index, whether the icon collection is present.
struct PanelView {
  int language = 0;
  int style = 0;
  bool icon_collection_present = false;
};

// One element onto the target (the work buffer, or the canvas for a partial redraw).
void DrawElement(PixelBuffer& target, const TMHWPanel& panel, int i, const PanelView& view,
                 const PanelPalette& palette, const PanelSources& sources);
// The full pass: the buffer cleared to black, then every listed element in order.
void Dibuja(PixelBuffer& work, const TMHWPanel& panel, const std::vector<int>& elements,
            const PanelView& view, const PanelPalette& palette, const PanelSources& sources);

// The border shapes (inclusive rectangles).
void Frame(PixelBuffer& target, const PanelRect& r, int w, Rgb colour);
void Bevel(PixelBuffer& target, const PanelRect& r, int w, bool raised);
void CornerBox(PixelBuffer& target, const PanelRect& r, int w, Rgb inner, Rgb outer);

// The grid: every pixel whose x and y are multiples of g becomes white (nothing for g <= 2).
void DibujaRejilla(PixelBuffer& target, int g);

// The selection border: runs of black and white pixels that move clockwise around a rectangle.
class TBordeAnimado {
 public:
  TBordeAnimado(const PanelRect& rect, int phases = 3);
  // The pattern for the current phases: P values of 0 or 255.
  std::vector<std::uint8_t> Pattern() const;
  // Paints the border onto the target and, when `advance` is set, moves the animation one step.
  void Pinta(PixelBuffer& target, bool advance);
  int Perimeter() const { return perimeter_; }
  const PanelRect& Rect() const { return rect_; }

 private:
  PanelRect rect_;
  int perimeter_;
  std::vector<int> phase_;
};

}  // namespace corvane
