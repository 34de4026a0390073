// Icons of the toolbar and the tree: the desktop icon theme where it has one, Qt's standard
// icons otherwise.
#pragma once

#include <QIcon>
#include <QStyle>

namespace corvane::ui {

QIcon ThemeIcon(const char* theme_name, QStyle::StandardPixmap fallback);
// The tree icon of an image index: 0 a directory, 1..10 the file type of TipoArchivo.
QIcon NodeIcon(int image_index);

}  // namespace corvane::ui
