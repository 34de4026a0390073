// The font tables inside a firmware image: finding them, reading the fonts into a TMHWFont, the
// room each model gives its fonts, and writing edited fonts back into an image being saved.
//
// Two forms exist. The little-endian form (models 1, 2, 3, 10, 20, 22) keeps each font's glyphs
// before its header; the big-endian form keeps them before the header (13, 16) or the width table
// (23), or packs every font one after another up to the end of the font area (5, 6, 9, 21).
#pragma once

#include <optional>
#include <string>

#include "base/bytes.h"
#include "base/result.h"
#include "firmware/image_fonts.h"
#include "resources/font_set.h"

namespace corvane {

class TFirmware;

// True for the models whose images carry font tables.
bool HasFontTables(int model);

// Fill `set` afresh from the image. False when no table is found, or when it names more fonts
// than the four slots: the set is then empty (count 0) and `note` (when given) says why.
bool LeeFuentesLE(const TFirmware& fw, TMHWFont& set, Message* note = nullptr);
bool LeeFuentesBE(const TFirmware& fw, TMHWFont& set, Message* note = nullptr);
// The reader of the model's form (false for models without font tables).
bool LeeFuentes(const TFirmware& fw, TMHWFont& set, Message* note = nullptr);

// The model's space rule: the first font that does not fit, nothing when all fit. Fonts that the
// model's rule does not cover may not grow beyond the room they had when read.
std::optional<ImageFonts::Misfit> FirstMisfit(const TFirmware& fw, const TMHWFont& set);
inline bool CabenFuentes(const TFirmware& fw, const TMHWFont& set) {
  return !FirstMisfit(fw, set).has_value();
}

// Write the set into `image` (the output being built; same offsets as the firmware's image).
void EscribeFuentesLE(const TFirmware& fw, const TMHWFont& set, MutableByteView image);
void EscribeFuentesBE(const TFirmware& fw, const TMHWFont& set, MutableByteView image);

// The width change of the font editor: the glyph at width `width` (its rows kept from the left,
// background added on the right) when the model's space rule still holds; false and nothing
// changed otherwise. Models without font tables, and sets not read from an image, have no limit.
bool CambiaAncho(const TFirmware* fw, TMHWFont& set, int font, int code, int width,
                 bool from_image);

// The seam the writers ask: the given font set, which must have been read from this firmware.
class ImageFontTables : public ImageFonts {
 public:
  explicit ImageFontTables(const TMHWFont& set) : set_(set) {}
  std::optional<Misfit> FirstMisfit(const TFirmware& firmware) const override;
  void Write(const TFirmware& firmware, MutableByteView image, ByteOrder order) const override;

 private:
  const TMHWFont& set_;
};

}  // namespace corvane
