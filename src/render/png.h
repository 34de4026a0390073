// PNG pictures of a pixel buffer.
#pragma once

#include "base/bytes.h"
#include "render/pixel_buffer.h"

namespace corvane {

// The buffer as an 8-bit RGB PNG file (empty bytes for an empty buffer or when encoding fails).
Bytes EncodePng(const PixelBuffer& buffer);

}  // namespace corvane
