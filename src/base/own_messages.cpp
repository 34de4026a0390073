// Rows of our own: texts this program shows that the original message table does not have.
//
// They continue the table from row 354 on, each area in a block of its own so that areas add
// rows without touching each other. A language file gives row r under key Translation(r + 54).
// Every row listed here needs its Spanish text here and its translation in both shipped
// language files (data/INIs).
#include "base/messages.h"

namespace corvane {

const std::vector<OwnMessage>& OwnMessages() {
  static const std::vector<OwnMessage> kRows = {
      // The core's tree commands, saving and configuration: rows 354-389.
      // The main window and its dialogs: rows 390-419.
      {390, "es"},
      {391, "Detectar el modelo (*.bin *.rcu *.rsc)"},
      {392, "Editor de firmware para receptores de satélite MHW"},
      {393, "Los desarrolladores de Corvane"},
      {394, "¡ No se puede distinguir el modelo del fichero ! Modelos posibles:"},
      {395, "Indique el modelo con -m."},
      // Palettes, images and icon collections, and their editors: rows 420-469.
      // Fonts, font lists and the font editor: rows 470-519.
      // Panels, text strings, rendering and their editors: rows 520-569.
      // Scripts, classes, applications and their editors: rows 570-619.
      // Hex editor: rows 620-669.
      // Robustness, installation and packaging: rows 670-699.
  };
  return kRows;
}

}  // namespace corvane
