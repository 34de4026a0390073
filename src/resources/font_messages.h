// Message rows of the fonts: the system's own and those of our own block (rows 470-519).
#pragma once

namespace corvane::font_rows {

inline constexpr int kBitmapNotTwoColours = 19;  // "¡ El Bitmap tiene que tener 2 colores ..."
inline constexpr int kSavingFiles = 25;          // "Guardando archivos..."
inline constexpr int kInsertingFiles = 280;      // "Insertando archivos..."
inline constexpr int kFontListFilter = 332;      // "Lista de tipos de letra (INI)|*.ini"

inline constexpr int kNoFontTable = 470;      // no font table in the image: no fonts
inline constexpr int kTooManyFonts = 471;     // the table names more than four fonts
inline constexpr int kNoExternalFonts = 472;  // fuente1..3.font cannot be read
inline constexpr int kNoSuchFont = 473;       // a font index outside the set
inline constexpr int kFontListUnreadable = 474;  // the font-list file cannot be read
inline constexpr int kFontListNotWritten = 475;  // a file of the font list cannot be written

}  // namespace corvane::font_rows
