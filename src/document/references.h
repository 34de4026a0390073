// The reference check: every name in the firmware that should lead to another file and does not.
// Scripts name their classes and share their name with a panel; panels name their icon
// collection and the images of their windows, and are drawn with a palette of the firmware;
// applications name their scripts, palette and classes.
#pragma once

#include <string>
#include <vector>

#include "firmware/tree.h"

namespace corvane {

// Own message rows of the reference check.
inline constexpr int kMsgMissingClass = 571;          // "Clase no encontrada :"
inline constexpr int kMsgMissingPanel = 572;          // "Panel no encontrado :"
inline constexpr int kMsgMissingIcons = 573;          // "Colección de iconos no encontrada :"
inline constexpr int kMsgMissingImage = 574;          // "Imagen no encontrada :"
inline constexpr int kMsgMissingScript = 575;         // "Script no encontrado :"
inline constexpr int kMsgMissingPalette = 576;        // "Paleta no encontrada :"
inline constexpr int kMsgAllReferencesResolve = 577;  // "Todas las referencias se resuelven."

enum class ReferenceKind { Class, Panel, IconCollection, Image, Palette, Script };

struct UnresolvedReference {
  const TNodo* node = nullptr;  // the file that names it
  ReferenceKind kind = ReferenceKind::Class;
  std::string name;  // the name that does not resolve (raw 8-bit)

  int Row() const;               // the message row that says what is missing
  const char* KindName() const;  // "class", "panel", "icons", "image", "palette", "script"
};

// Every unresolved reference of the files below `root`, in tree order.
std::vector<UnresolvedReference> CheckReferences(const TNodo& root);

}  // namespace corvane
