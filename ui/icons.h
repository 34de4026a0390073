// Icons of the toolbar and the tree: the toolbar's from the desktop icon theme where it has one
// (Qt's standard icons otherwise); the tree's drawn here, one per file kind, so that the tree
// reads the same on every desktop.
#pragma once

#include <QIcon>
#include <QStyle>

#include "firmware/kinds.h"

namespace corvane::ui {

QIcon ThemeIcon(const char* theme_name, QStyle::StandardPixmap fallback);
// The tree icon of a file kind (Directory: a folder; a kind of the kinds table: a page of the
// kind's colour marked with its stem's letters; Other: a plain page).
QIcon KindIcon(FileKind kind);
// The tree icon of a node's image index (TipoArchivo: 0 a directory, 1..10 a file kind).
QIcon NodeIcon(int image_index);

}  // namespace corvane::ui
