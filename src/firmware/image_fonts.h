// The seam through which the writers put the font set back into the image's font tables.
//
// Writers ask it only when the fonts do not come from external files. An image in which no font
// table is found fits (FirstMisfit gives nothing) and Write leaves the buffer untouched.
#pragma once

#include <optional>
#include <string>

#include "base/bytes.h"

namespace corvane {

class TFirmware;

class ImageFonts {
 public:
  // The first font that does not fit its place in the image: its name and size.
  struct Misfit {
    std::string name;
    unsigned size = 0;
  };

  virtual ~ImageFonts() = default;

  // Nothing when every font of the set fits the firmware's font area.
  virtual std::optional<Misfit> FirstMisfit(const TFirmware& firmware) const = 0;
  // Writes the set into `image` (the output being built from the firmware's image), numbers in
  // `order`.
  virtual void Write(const TFirmware& firmware, MutableByteView image, ByteOrder order) const = 0;
};

}  // namespace corvane
