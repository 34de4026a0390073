// Text and glyphs of the firmware's fonts drawn into a pixel buffer. Nothing is ever drawn outside
// the buffer; background pixels are left as they are (text is transparent).
#pragma once

#include <string_view>

#include "base/rgb.h"
#include "render/pixel_buffer.h"
#include "resources/font_set.h"

namespace corvane {

struct ClipRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

// The ink pixels of glyph `code` with its top left corner at (x, y).
void DibujaLetra(PixelBuffer& buffer, const TMHWFont& set, int code, int font, int x, int y,
                 Rgb colour);
// The text's glyphs from x on: a glyph is drawn only when it lies wholly inside `clip`; the pen
// advances by each glyph's width either way. A byte of the text is a glyph code.
void DibujaTexto(PixelBuffer& buffer, const TMHWFont& set, std::string_view text,
                 const ClipRect& clip, int font, int x, int y, Rgb colour);
// Every ink pixel of the glyph as a black zoom x zoom square (the caller gives a white buffer).
void DibujaLetraAmpliada(PixelBuffer& buffer, const TMHWFont& set, int font, int code, int zoom);

// The 16 x 16 character map of a font: cell (c mod 16, c div 16) holds glyph c; cells are as wide
// as the widest glyph and as high as the font, separated by one grey line. Black ink on white.
PixelBuffer CharacterSheet(const TMHWFont& set, int font);

}  // namespace corvane
