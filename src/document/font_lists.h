// Font lists: every glyph of every font as a 1-bit bitmap in a folder per font ("<name>-<size>",
// beside the list), and an INI file naming them (section "General": "FontsNumber", "Dir-n";
// one section per font: "Char-XX" = the bitmap's path). Importing puts the bitmaps back into the
// fonts of the same name and size.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/result.h"
#include "resources/font_set.h"

namespace corvane {

// Called every 20 glyphs and at the end: the status text (message 25 or 280) and the percentage.
// Returning false stops the run.
using FontListProgress = std::function<bool(const Message& status, int percent)>;

struct FontListResult {
  Outcome outcome = Outcome::Done;
  std::vector<Message> messages;  // what could not be read or written
  int glyphs = 0;                 // bitmaps written or glyphs replaced
  bool ok() const { return outcome == Outcome::Done; }
};

// "Extrae lista de tipos de letra...": writes the list file and the bitmaps beside it.
FontListResult ExportFontList(const TMHWFont& set, const std::filesystem::path& list_file,
                              const FontListProgress& progress = {});
// "Inserta lista de tipos de letra...": replaces the glyphs of the fonts the list names (by name
// and size); missing bitmaps and bitmaps of another depth or height are skipped.
FontListResult ImportFontList(TMHWFont& set, const std::filesystem::path& list_file,
                              const FontListProgress& progress = {});

}  // namespace corvane
