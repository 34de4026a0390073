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
      {354, "No hay ningún firmware abierto o ningún nodo seleccionado."},
      {355, "La raíz y las secciones no se pueden borrar."},
      {356, "No se puede crear un directorio nuevo en este nodo."},
      {357, "Este nodo no se puede renombrar."},
      {358, "El nodo no se puede soltar ahí."},
      {359, "Las listas de orden de archivos son solo para modelos de firmware."},
      {360, "no es una carpeta"},
      {361, "\" contiene caracteres que un nombre de la imagen no puede tener; se guardaron como \"_\"."},
      {362, "modelo de receptor desconocido"},
      {363, "no hay ningún firmware abierto"},
      {364, "La imagen reconstruida no se leería como el mismo árbol de archivos (primera diferencia en "},
      {365, "); no se ha escrito nada."},
      {366, "No se puede leer "},
      {367, "No se puede escribir "},
      {368, "El archivo está en Windows-1252 y el texto nuevo tiene caracteres que esa codificación no tiene; no se ha escrito nada: "},
      {369, "no hay ningún parche abierto"},
      // The main window and its dialogs: rows 390-419.
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
