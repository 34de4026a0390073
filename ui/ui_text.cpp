#include "ui_text.h"

#include "document/names.h"

namespace corvane::ui {

MessageTable& Messages() {
  static MessageTable table;
  return table;
}

QString Msg(int row) { return QString::fromStdString(Messages().Text(row)); }

QString Render(const Message& message) {
  QString text = QString::fromStdString(RenderMessage(message, Messages()));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

QString NodeName(std::string_view raw, bool is_root) {
  return QString::fromStdString(DisplayName(raw, is_root));
}

QStringList NameFilters(const QString& pairs) {
  QStringList filters;
  const QStringList parts = pairs.split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString name = parts[i].trimmed();
    QString patterns = parts[i + 1].trimmed();
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString suffix = QStringLiteral("(") + patterns + QStringLiteral(")");
    filters << (name.endsWith(suffix) ? name : name + QLatin1Char(' ') + suffix);
  }
  return filters;
}

std::filesystem::path ToPath(const QString& path) { return std::filesystem::path(path.toStdString()); }

}  // namespace corvane::ui
