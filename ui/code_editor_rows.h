// The message-table rows of the script, class and application editors, by name.
#pragma once

namespace corvane::ui::row {

inline constexpr int kFindNext = 579;          // "Buscar &siguiente"
inline constexpr int kToggleBookmark = 580;    // "Poner o quitar &marcador"
inline constexpr int kNextBookmark = 581;      // "Marcador si&guiente"
inline constexpr int kPreviousBookmark = 582;  // "Marcador an&terior"
inline constexpr int kOpenClass = 583;         // "Abrir la &clase"
inline constexpr int kCannotStore = 584;       // "¡ No se ha podido guardar el archivo :"
inline constexpr int kTextTooLong = 585;       // "¡ Un texto tiene más de 255 caracteres ..."

}  // namespace corvane::ui::row
