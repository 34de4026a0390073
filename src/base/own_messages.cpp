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
      {370, "una sección de un parche Strong se numera de 00 a 06 tras el \"-\""},
      {371, "dos secciones tienen este número"},
      {372, "el archivo no tiene ningún bloque para esta sección"},
      {373, "CANAL_P.RCU tiene que ser la única entrada de su sección"},
      {374, "solo CANAL_P.RCU puede estar directamente en una sección; \""},
      {375, "\" tiene que estar dentro de un directorio"},
      {376, "una sección contiene como mucho 16 directorios"},
      {377, "el directorio \""},
      {378, "\" contiene el directorio \""},
      {379, "\"; un directorio de un parche solo contiene archivos"},
      {380, "el parche tiene "},
      {381, " secciones pero solo hay sitio para "},
      // The main window and its dialogs: rows 390-419.
      {390, "es"},
      {391, "Detectar el modelo (*.bin *.rcu *.rsc)"},
      {392, "Editor de firmware para receptores de satélite MHW"},
      {393, "Los desarrolladores de Corvane"},
      {394, "¡ No se puede distinguir el modelo del fichero ! Modelos posibles:"},
      {395, "Indique el modelo con -m."},
      // Palettes, images and icon collections, and their editors: rows 420-469.
      {420, "Número no válido en el archivo PAL:"},
      {421, "¡ La imagen no puede medir más de 65535 píxeles de lado !"},
      {422, "¡ La colección de iconos está dañada: sus datos no contienen el icono"},
      {423, "¡ El nombre del icono tiene más de 255 caracteres o un carácter nulo !"},
      {424, "¡ La colección de iconos no cabe en 65539 bytes !"},
      {425, "¡ El icono tiene que ser menor de 256x256 !"},
      {426, "El documento JSON no describe el recurso:"},
      {427, "Color %1 : RGB (%2, %3, %4), modo %5"},
      {428, "Píxel (%1, %2) :"},
      {429, "Sin paleta : se muestra en grises"},
      // Fonts, font lists and the font editor: rows 470-519.
      {470, "No se encuentra la tabla de tipos de letra en la imagen; no hay tipos de letra."},
      {471, "La tabla de tipos de letra de la imagen tiene más de 4 tipos de letra; no se leen."},
      {472, "No se pueden leer los archivos de tipos de letra externos (fuente1.font, fuente2.font, fuente3.font)."},
      {473, "No existe ese tipo de letra."},
      {474, "No se puede leer la lista de tipos de letra:"},
      {475, "No se puede escribir el archivo:"},
      {476, "Mapa de caracteres"},
      {477, "Muestra :"},
      {478, "El veloz murciélago hindú comía feliz cardillo y kiwi. 0123456789"},
      {479, "¡ La letra importada no cabe en el espacio de los tipos de letra !"},
      // Panels, text strings, rendering and their editors: rows 520-569.
      {520, "El panel termina antes de lo que indican sus datos; se ha leído hasta donde es válido."},
      {521, "La lista de textos termina antes de lo que indican sus datos; se ha leído hasta donde es válida."},
      {522, "¡ Es imposible guardar la lista de textos : ocupa más de 65535 bytes !"},
      {523, "¡ Es imposible guardar la lista de textos : un texto es más largo de lo que admite su formato !"},
      {524, "¡ Es imposible guardar el panel : tiene más de 65535 elementos !"},
      {525, "¡ Es imposible guardar el panel : tiene más de 255 tipos de letra !"},
      {526, "¡ Es imposible guardar el panel : un valor no cabe en su campo ! Elemento :"},
      {528, "El panel no se muestra en esa pantalla :"},
      {529, "El firmware no tiene ninguna paleta."},
      {530, "No se encuentra la paleta :"},
      {531, "El archivo no es un panel :"},
      {532, "Ninguna"},
      {550, "Buscar siguiente"},
      // Scripts, classes, applications and their editors: rows 570-619.
      {570, "Valor no numérico en asm_inst.ini, línea"},
      {571, "Clase no encontrada :"},
      {572, "Panel no encontrado :"},
      {573, "Colección de iconos no encontrada :"},
      {574, "Imagen no encontrada :"},
      {575, "Script no encontrado :"},
      {576, "Paleta no encontrada :"},
      {577, "Todas las referencias se resuelven."},
      {578, "Forma JSON incorrecta :"},
      {579, "Buscar &siguiente"},
      {580, "Poner o quitar &marcador"},
      {581, "Marcador si&guiente"},
      {582, "Marcador an&terior"},
      {583, "Abrir la &clase"},
      {584, "¡ No se ha podido guardar el archivo :"},
      {585, "¡ Es imposible guardar la aplicación : un nombre o una línea de comentarios tiene más de 255 caracteres !"},
      // Hex editor: rows 620-669.
      {620, "1 byte"},
      {621, "2 bytes"},
      {622, "4 bytes"},
      {623, "&Rehacer"},
      {624, "&Ir a la posición..."},
      {625, "Ir a la posición"},
      {626, "Posición (hexadecimal) :"},
      {627, "¡ La posición está fuera de los datos !"},
      {628, "Insertar"},
      {629, "Sobrescribir"},
      {630, "Con signo / sin signo :"},
      {631, "8 bits"},
      {632, "16 bits BE"},
      {633, "16 bits LE"},
      {634, "32 bits BE"},
      {635, "32 bits LE"},
      {636, "¡ No se ha podido escribir el archivo !"},
      {637, "¡ Un archivo no puede quedar vacío !"},
      {638, "&Modo inserción"},
      // Robustness, installation and packaging: rows 670-699.
  };
  return kRows;
}

}  // namespace corvane
