// The firmware's bitmap fonts (TMHWFont): up to four fonts of 256 one-bit glyphs each, the byte
// form of a glyph, the external font files, and the exchange of single glyphs with 1-bit Windows
// bitmaps. Where the fonts lie inside an image is font_tables.h; drawing text is
// render/font_render.h.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/bytes.h"

namespace corvane {

inline constexpr int kFontSlots = 4;
inline constexpr int kGlyphCount = 256;
inline constexpr char kInk = 'o';
inline constexpr char kBackground = '.';

// Names with a meaning of their own: the main fonts (codes 0-31 share code 32's bytes) and the
// fixed-width font.
inline constexpr std::string_view kFontFudemi = "fudemi";
inline constexpr std::string_view kFontEurost = "eurost";
inline constexpr std::string_view kFontVideotex = "videotex";

struct TLetra {
  std::uint32_t data_offset = 0;   // image offset of the glyph's bytes
  std::uint32_t pointer_slot = 0;  // image offset of the pointer to them
  std::uint8_t width = 0;
  // width x height characters, row by row from the top: kInk or kBackground.
  std::string picture;
  // The bytes the glyph took in the image when it was read (0: not read from an image).
  std::uint32_t room = 0;

  bool Ink(int column, int row) const {
    return column >= 0 && row >= 0 && column < width &&
           picture[static_cast<std::size_t>(row) * width + static_cast<std::size_t>(column)] == kInk;
  }
};

struct TFuente {
  std::uint32_t header_offset = 0;
  std::uint32_t width_table_offset = 0;
  std::string name;  // at most 8 characters
  std::uint8_t size = 0;
  std::uint8_t height = 12;
  std::array<TLetra, kGlyphCount> glyphs{};
  // The bytes from glyph 0's data up to the end of the font's glyphs when read from an image (the
  // room a font that no space rule covers may fill again); 0 for fonts from external files.
  std::uint64_t room = 0;

  // "fudemi" or "eurost": codes 0-31 are not stored separately.
  bool IsMain() const { return name == kFontFudemi || name == kFontEurost; }
  int FirstStoredCode() const { return IsMain() ? 32 : 0; }
};

// Bytes per row of a glyph `width` wide (the width raised to a multiple of 8).
inline std::uint32_t GlyphRowBytes(unsigned width) { return (width + 7) / 8; }
// Bytes a glyph takes: height rows, raised to a multiple of 4 when padded; 4 for width 0.
std::uint32_t GlyphSize(unsigned width, unsigned height, bool padded);

// Glyph bytes to picture (bytes past the view read as 0).
std::string DecodificaLetra(ByteView bytes, unsigned height, unsigned width);
// The row bytes of a glyph (height x row bytes; the padding is not part of them).
Bytes GlyphRows(const TLetra& glyph, unsigned height);

class TMHWFont {
 public:
  std::array<TFuente, kFontSlots> fonts{};
  std::uint32_t end_of_font_area = 0;
  int count = 0;

  // Writes the glyph's row bytes at its data offset in `buffer` (writes outside are dropped) and
  // returns the bytes it occupies (GlyphSize). Padding bytes are left as they are.
  std::uint32_t CodificaLetra(int font, int code, MutableByteView buffer, bool padded) const;
  // The stored sizes of glyphs `first`..255 of a font.
  std::uint64_t TamanoLetras(int font, int first, bool padded) const;

  // Reads fuente1.font .. fuente3.font from `folder`; count becomes 3 in any case. False (and no
  // glyph decoded) when one of them cannot be read or is too short for its trailer and widths.
  // length_table_first: "T&abla de longitudes al principio".
  bool CargaExternos(const std::filesystem::path& folder, bool length_table_first);
  // The same from the three files' bytes.
  bool CargaExternosDe(const std::array<Bytes, 3>& files, bool length_table_first);

  void Copia(const TMHWFont& source) { *this = source; }

  // Sum of the widths of the text's glyphs (a byte is a glyph code).
  int AnchoTexto(std::string_view text, int font) const;
  // The widest glyph of a font.
  int MaxWidth(int font) const;

  // Sets a glyph's width, keeping each row's leftmost columns and adding background on the right.
  void SetWidth(int font, int code, int width);
  // Replaces a glyph by a picture of `width` columns (rows of the font's height).
  void SetGlyph(int font, int code, int width, std::string picture);

  // A 1-bit Windows bitmap of the glyph (index 0 black = ink, 1 white = background).
  Bytes ExportaLetraBytes(int font, int code) const;
  // Writes that bitmap atomically; the text of the failure, empty on success.
  std::string ExportaLetra(const std::filesystem::path& file, int font, int code) const;
  // Replaces a glyph from a 1-bit Windows bitmap of the font's height and less than 256 pixels
  // wide: black pixels are ink. False (glyph unchanged) for any other file.
  bool ImportaLetraBytes(ByteView file, int font, int code);
  bool ImportaLetra(const std::filesystem::path& file, int font, int code);

  bool Valid(int font) const { return font >= 0 && font < count && font < kFontSlots; }
};

}  // namespace corvane
