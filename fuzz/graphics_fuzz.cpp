// Any bytes as a palette, an image, an icon collection, a Windows bitmap or a JASC palette (the
// first byte picks the reader): every reader stays inside its bytes, and what a writer accepts
// reads back the same.
#include <cstdlib>

#include "base/bitmap.h"
#include "fuzz_input.h"
#include "resources/icons.h"
#include "resources/image.h"
#include "resources/palette.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::Input input(data, size);
  const int reader = input.Byte() % 5;
  const ByteView bytes = input.Rest();
  const TMHWPalette greys = TMHWPalette::Greys();
  switch (reader) {
    case 0: {
      const auto palette = TMHWPalette::FromPlain(bytes);
      if (palette && palette->Plain() != bytes.ToBytes()) std::abort();
      if (palette) TMHWPalette().ImportJasc(palette->JascText());
      break;
    }
    case 1: {
      const TMHWImage image = TMHWImage::FromPlain(bytes.ToBytes());
      // Drawing allocates the whole picture: keep to sides a real image has.
      if (image.Width() <= 1024 && image.Height() <= 1024) {
        const Bitmap picture = image.ToBitmap(greys);
        TMHWImage back;
        if (back.ImportBitmap(picture).ok() && back.Pixel(0, 0) != image.Pixel(0, 0)) std::abort();
      }
      break;
    }
    case 2: {
      TMHWIconLib icons;
      if (!TMHWIconLib::FromPlain(bytes, icons).ok()) break;
      for (std::size_t i = 0; i < icons.icons.size(); ++i) icons.ToBitmap(i, greys);
      Bytes plain;
      if (!icons.Plain(plain).ok()) break;
      TMHWIconLib back;
      if (!TMHWIconLib::FromPlain(plain, back).ok() || back.icons != icons.icons) std::abort();
      break;
    }
    case 3: {
      const auto bitmap = ReadBitmap(bytes);
      if (!bitmap) break;
      if (ReadBitmap(WriteBitmap(*bitmap)) != bitmap) std::abort();
      TMHWPalette().ImportBitmap(*bitmap);
      TMHWImage().ImportBitmap(*bitmap);
      Icon icon;
      TMHWIconLib::IconOfBitmap(*bitmap, "fuzz", icon);
      break;
    }
    default: {
      TMHWPalette palette;
      const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      if (palette.ImportJasc(text).ok()) {
        TMHWPalette back;
        if (!back.ImportJasc(palette.JascText()).ok() || back.Colours() != palette.Colours())
          std::abort();
      }
      break;
    }
  }
  return 0;
}
