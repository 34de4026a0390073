// Icon collection files (".ico", ".icz"): a list of small named 4-bit pictures.
//
// Plain form (big-endian): total length - 4 (2 bytes, ignored when read), the number of icons N
// (2), N offsets (2 each) counted from the end of the offset table, then the records: name,
// 0, width, height, 0, height rows of width div 2 bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "base/result.h"
#include "firmware/tree.h"
#include "resources/palette.h"

namespace corvane {

namespace rows {
inline constexpr int kIconBitmapRule = 15;  // "¡ El Bitmap tiene que tener 16 colores y ser menor de 256x256 !"
inline constexpr int kIconBitmapRuleFirst = 16;   // "¡ El Bitmap tiene que tener 16 colores, ser menor de 256x256"
inline constexpr int kIconBitmapRuleSecond = 17;  // "y no debe haber ningun icono con ese mismo nombre !"
inline constexpr int kIconsDamaged = 422;     // the icon table or a record lies outside the data
inline constexpr int kIconNameTooLong = 423;  // a name of 256 characters or more, or with a NUL
inline constexpr int kIconsTooLarge = 424;    // more than 65539 bytes in all
inline constexpr int kIconTooLarge = 425;     // a side above 255
}  // namespace rows

struct Icon {
  std::string name;  // raw 8-bit characters
  int width = 0, height = 0;  // 0..255
  Bytes pixels;  // height rows of width div 2 bytes
  std::size_t RowBytes() const { return static_cast<std::size_t>(width) / 2; }
  bool operator==(const Icon&) const = default;
};

class TMHWIconLib {
 public:
  static constexpr std::size_t kMaxPlainSize = 0xFFFF + 4;
  static constexpr std::size_t kMaxNameLength = 255;

  std::vector<Icon> icons;

  // Reads plain bytes; refused when the table or a record lies outside them.
  static Result FromPlain(ByteView plain, TMHWIconLib& out);
  static Result Create(TNodo* node, TMHWIconLib& out);

  // Lays the records out contiguously in list order. Refused for a name of 256 characters or
  // more or holding a NUL, a side above 255, or more than 65539 bytes in all.
  Result Plain(Bytes& out) const;
  Result Guarda() const;
  TNodo* Node() const { return node_; }

  // The first icon named `name` ignoring letter case (exact: with letter case); -1 when none.
  int Find(std::string_view name, bool exact = false) const;

  Bitmap ToBitmap(std::size_t index, const TMHWPalette& palette) const;
  // An icon of a 4-bit bitmap below 256 x 256 named `name`.
  static Result IconOfBitmap(const Bitmap& bitmap, std::string name, Icon& out);

  Result ExportaBMP(const std::filesystem::path& file, std::size_t index,
                    const TMHWPalette& palette) const;
  // The icon of a bitmap file, named after the file up to its first "."; inserted after icon
  // `index` (at the end when past it) or replacing it.
  Result InsertaBMP(const std::filesystem::path& file, std::size_t index);
  Result ReemplazaBMP(const std::filesystem::path& file, std::size_t index);
  void BorraIcono(std::size_t index);

 private:
  Result IconOfFile(const std::filesystem::path& file, Icon& out) const;
  TNodo* node_ = nullptr;
};

}  // namespace corvane
