#include "icons.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace corvane::ui {

namespace {

constexpr int kKindCount = static_cast<int>(FileKind::Other) + 1;

// The page colour of each file kind, by FileKind value.
constexpr std::array<QRgb, kKindCount> kKindColours = {
    0xffe8b84a,  // Directory (the folder)
    0xff4a7bd0,  // Class
    0xff3c9a50,  // Application
    0xffc05fc8,  // Palette
    0xffd07a2a,  // Script
    0xff2a9fb0,  // Panel
    0xff8a6d3b,  // Strings
    0xffd04848,  // Image
    0xff9a8a20,  // Icons
    0xff707070,  // Data
    0xffffffff,  // Other (a plain page)
};

QPixmap DrawFolder(int size, QColor colour) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size / 16.0;
  p.scale(s, s);
  p.setPen(QPen(colour.darker(160), 1));
  p.setBrush(colour.darker(115));
  p.drawRoundedRect(QRectF(1.5, 3.5, 6, 3), 1, 1);  // the tab
  p.setBrush(colour);
  p.drawRoundedRect(QRectF(1.5, 5.5, 13, 8.5), 1, 1);
  return pixmap;
}

QPixmap DrawPage(int size, QColor colour, const QString& mark) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const qreal s = size / 16.0;
  p.scale(s, s);
  QPainterPath page;  // a page with its top right corner folded
  page.moveTo(2.5, 0.5);
  page.lineTo(10.5, 0.5);
  page.lineTo(13.5, 3.5);
  page.lineTo(13.5, 15.5);
  page.lineTo(2.5, 15.5);
  page.closeSubpath();
  p.setPen(QPen(QColor(70, 70, 70), 1));
  p.setBrush(Qt::white);
  p.drawPath(page);
  if (!mark.isEmpty()) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(3, 6, 10, 8));
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPixelSize(6);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 6, 10, 8), Qt::AlignCenter, mark);
  }
  return pixmap;
}

}  // namespace

QIcon ThemeIcon(const char* theme_name, QStyle::StandardPixmap fallback) {
  const QString name = QString::fromLatin1(theme_name);
  if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
  return QApplication::style()->standardIcon(fallback);
}

QIcon KindIcon(FileKind kind) {
  static std::array<QIcon, kKindCount> cache;
  const int i = static_cast<int>(kind);
  if (i < 0 || i >= kKindCount) return KindIcon(FileKind::Other);
  QIcon& icon = cache[static_cast<std::size_t>(i)];
  if (!icon.isNull()) return icon;
  const QColor colour = QColor::fromRgba(kKindColours[static_cast<std::size_t>(i)]);
  // The mark is the kind's stem without its dot (".cl": "CL").
  QString mark;
  if (const FileKindInfo* info = FindFileKind(kind))
    mark = QString::fromLatin1(info->stem.substr(1).data(),
                               static_cast<qsizetype>(info->stem.size() - 1))
               .toUpper();
  for (int size : {16, 32})
    icon.addPixmap(kind == FileKind::Directory ? DrawFolder(size, colour)
                                               : DrawPage(size, colour, mark));
  return icon;
}

QIcon NodeIcon(int image_index) {
  return image_index >= 0 && image_index < kKindCount ? KindIcon(static_cast<FileKind>(image_index))
                                                      : KindIcon(FileKind::Other);
}

}  // namespace corvane::ui
