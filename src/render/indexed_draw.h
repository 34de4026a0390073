// Drawing 4-bit pictures (images and icons) into the pixel buffer with a palette's colours.
#pragma once

#include "base/bytes.h"
#include "render/pixel_buffer.h"
#include "resources/icons.h"
#include "resources/image.h"
#include "resources/palette.h"

namespace corvane {

// Paints `height` rows of `width` pixels stored two per byte (high nibble left), width div 2
// bytes a row, with their top-left corner at (left, top). Bytes past the end of `rows` are not
// read and their pixels are not painted; an odd last column is not painted; pixels outside the
// target are skipped. The mode of the entries plays no part.
void DrawNibbleRows(PixelBuffer& target, int left, int top, int width, int height, ByteView rows,
                    const PaletteColours& colours);

// The image at one pixel per image pixel, in a new black buffer of its size.
PixelBuffer Dibuja(const TMHWImage& image, const TMHWPalette& palette);
// Icon `index` the same way (an empty buffer past the list).
PixelBuffer Dibuja(const TMHWIconLib& icons, std::size_t index, const TMHWPalette& palette);

}  // namespace corvane
