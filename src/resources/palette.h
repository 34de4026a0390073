// Palette files (".lut", ".luz"): the 16 colours every 4-bit image, icon and panel is drawn with.
//
// Plain form: exactly 64 bytes, entry i at bytes 4i..4i+3 as red, green, blue, mode.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/bitmap.h"
#include "base/result.h"
#include "base/rgb.h"
#include "firmware/tree.h"

namespace corvane {

namespace rows {
inline constexpr int kPaletteWrongSize = 12;   // "¡ La paleta no tiene el tamaño correcto !"
inline constexpr int kBadPalFile = 13;         // "¡ Archivo PAL incorrecto !"
inline constexpr int kBitmapNot16Colours = 14; // "¡ El Bitmap tiene que tener 16 colores solamente !"
inline constexpr int kPalBadNumber = 420;      // "Número no válido en el archivo PAL:"
inline constexpr int kImageTooLarge = 421;     // "La imagen no puede medir más de 65535 píxeles de lado."
}  // namespace rows

struct PaletteEntry {
  std::uint8_t red = 0, green = 0, blue = 0;
  std::uint8_t mode = 0;  // how the receiver mixes the colour with what lies behind it
  Rgb Colour() const { return {red, green, blue}; }
  bool operator==(const PaletteEntry&) const = default;
};

using PaletteColours = std::array<Rgb, 16>;

class TMHWPalette {
 public:
  static constexpr std::size_t kPlainSize = 64;

  std::array<PaletteEntry, 16> entries{};

  // The palette of plain bytes: nullopt unless they are exactly 64.
  static std::optional<TMHWPalette> FromPlain(ByteView plain);
  // The palette of a node's stored bytes, bound to the node for Guarda.
  static std::optional<TMHWPalette> Create(TNodo* node);
  // Grey levels 0, 17, ... 255: what images are drawn with when no palette could be found.
  static TMHWPalette Greys();

  Bytes Plain() const;
  // Writes the entries back into the node it was built from (nothing without one).
  void Guarda() const;
  TNodo* Node() const { return node_; }

  PaletteColours Colours() const;

  // The JASC palette text: 19 lines ended by CR LF, the modes left out.
  std::string JascText() const;
  // Takes the colours of a JASC text; every mode becomes 1. Refused (palette unchanged) unless
  // the text has exactly 19 lines, the three header lines and three decimal numbers per entry
  // line (each stored as its low 8 bits).
  Result ImportJasc(std::string_view text);
  // Takes colour-table entries 0..15 of a 4-bit bitmap (black past a shorter table); every
  // mode becomes 1. Refused for any other depth.
  Result ImportBitmap(const Bitmap& bitmap);

  Result ExportaPAL(const std::filesystem::path& file) const;
  Result ImportaPAL(const std::filesystem::path& file);
  Result ImportaBMP(const std::filesystem::path& file);

  bool operator==(const TMHWPalette& other) const { return entries == other.entries; }

 private:
  TNodo* node_ = nullptr;
};

// ---- The palettes of an opened firmware ----

// Palette paths ("GRAF:MENU.lut", "GRAF:SUB:MENU.lut") of the tree in tree order: files one
// level below each top directory, and files of the directories found there.
std::vector<std::string> PalettePaths(const TArbol& tree);

// Pioneer patches (model 4) hold their directories inside sections: there the palette context
// of a resource takes the section's name as well.
inline bool NestedPaletteContext(int model) { return model == 4; }

// The palette context of a resource node: its parent's name, or for models that nest one
// level deeper (`nested`), grandparent ":" parent.
std::string PaletteContext(const TNodo& resource, bool nested);

// The palette path chosen for a resource named `name` with palette context `ctx`: a palette
// named after it, else the first in its directory, else the first whose first or second
// component starts with "basic", else the first. Empty for an empty list.
std::string ChoosePalettePath(const std::vector<std::string>& paths, std::string_view ctx,
                              std::string_view name);

// The node a palette path names (components matched without letter case), or nullptr.
TNodo* FindPalettePath(const TArbol& tree, std::string_view path);

// An editor's palette after it selects `path`: when every component is found, the palette of
// that file (none when it is not a palette); otherwise `current` stays as it was.
void LoadPalettePath(const TArbol& tree, std::string_view path,
                     std::optional<TMHWPalette>& current);

// The palette the program shows a resource node with: chosen, found and built; nullopt when no
// palette is listed or the chosen one cannot be built.
std::optional<TMHWPalette> PaletteFor(const TArbol& tree, const TNodo& resource, bool nested);

// "parent:name" of a palette node, the text palette changes are announced with.
std::string PaletteChangeKey(const TNodo& palette_node);

}  // namespace corvane
