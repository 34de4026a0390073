// The message-table rows of the palette, image and icon-collection editors, by name.
#pragma once

namespace corvane::ui::row {

inline constexpr int kPaletteCaption = 34;      // "Paleta de colores -"
inline constexpr int kModeWord = 35;            // "Modo"
inline constexpr int kPalSaveFilter = 36;       // "Paleta JASC (PAL)|*.pal"
inline constexpr int kPalOpenFilter = 37;       // "Paleta JASC (PAL)|*.pal|Archivo Bitmap (BMP)|*.bmp"
inline constexpr int kImageCaption = 38;        // "Imagen -"
inline constexpr int kBitmapFilter = 39;        // "Archivo Bitmap (BMP)|*.bmp"
inline constexpr int kIconsCaption = 40;        // "Colección de iconos -"
inline constexpr int kIconLabel = 45;           // "Icono :"
inline constexpr int kColourName0 = 55;         // "Color 0" .. 70 "Color F"
inline constexpr int kImport = 73;              // "Importar..."
inline constexpr int kExport = 74;              // "Exportar..."
inline constexpr int kPaletteLabel = 76;        // "Paleta :"
inline constexpr int kWidthLabel = 77;          // "Ancho :"
inline constexpr int kHeightLabel = 78;         // "Alto :"
inline constexpr int kNewIcon = 80;             // "Nuevo icono"
inline constexpr int kDeleteIcon = 81;          // "Borrar icono"
inline constexpr int kZoomLabel = 198;          // "Zoom :"
inline constexpr int kModeItem0 = 207;          // "Modo 00 : Transparente 100%" .. 212 "Modo 05 : ???"
inline constexpr int kModeItems = 6;

// Rows of our own.
inline constexpr int kEntryUnderPointer = 427;  // "Color %1 : RGB (%2, %3, %4), modo %5"
inline constexpr int kPixelUnderPointer = 428;  // "Píxel (%1, %2) :"
inline constexpr int kNoPalette = 429;          // "Sin paleta : se muestra en grises"

}  // namespace corvane::ui::row
