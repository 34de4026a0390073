#include "icons.h"

#include <QApplication>
#include <array>

namespace corvane::ui {

QIcon ThemeIcon(const char* theme_name, QStyle::StandardPixmap fallback) {
  const QString name = QString::fromLatin1(theme_name);
  if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
  return QApplication::style()->standardIcon(fallback);
}

QIcon NodeIcon(int image_index) {
  // Types of TipoArchivo: 1 class, 2 application, 3 palette, 4 script, 5 panel, 6 strings,
  // 7 image, 8 icon collection, 9 data, 10 anything else.
  struct Entry {
    const char* theme;
    QStyle::StandardPixmap fallback;
  };
  static const std::array<Entry, 11> kIcons = {{
      {"folder", QStyle::SP_DirIcon},
      {"text-x-generic-template", QStyle::SP_FileIcon},
      {"application-x-executable", QStyle::SP_FileIcon},
      {"preferences-desktop-color", QStyle::SP_FileIcon},
      {"text-x-script", QStyle::SP_FileIcon},
      {"video-display", QStyle::SP_FileIcon},
      {"accessories-text-editor", QStyle::SP_FileIcon},
      {"image-x-generic", QStyle::SP_FileIcon},
      {"applications-graphics", QStyle::SP_FileIcon},
      {"application-octet-stream", QStyle::SP_FileIcon},
      {"text-x-generic", QStyle::SP_FileIcon},
  }};
  static std::array<QIcon, 11> cache;
  const std::size_t i = image_index >= 0 && image_index <= 10 ? static_cast<std::size_t>(image_index) : 10;
  if (cache[i].isNull()) cache[i] = ThemeIcon(kIcons[i].theme, kIcons[i].fallback);
  return cache[i];
}

}  // namespace corvane::ui
