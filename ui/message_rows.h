// The message-table rows the desktop program's windows show, by name: the core's named rows and
// the rows only the windows use.
#pragma once

#include "base/message_rows.h"

namespace corvane::ui::row {

using namespace corvane::rows;

inline constexpr int kOrderFileFilter = 27;       // "Log con orden de archivos (DEF)|*.def"
inline constexpr int kTextFileFilter = 310;       // "Archivo de texto (TXT)|*.txt"

// Rows of our own.
inline constexpr int kQtLanguage = 390;           // "es": the language of Qt's own texts
inline constexpr int kDetectModelFilter = 391;    // "Detectar el modelo (*.bin *.rcu *.rsc)"
inline constexpr int kAboutDescription = 392;     // "Editor de firmware para receptores de satélite MHW"
inline constexpr int kAboutAuthors = 393;         // "Los desarrolladores de Corvane"

}  // namespace corvane::ui::row
