// Text helpers of the desktop program: rows of the message table in use, rendered core messages,
// raw 8-bit node names and file-dialog filters.
#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/messages.h"
#include "base/result.h"

namespace corvane::ui {

// The message table the program shows its texts from (filled by the language loader).
MessageTable& Messages();

// One row of the table in use.
QString Msg(int row);
// A core message rendered with the table in use; CR LF line breaks become plain line breaks.
QString Render(const Message& message);

// A node's raw name as shown (the root's name is the opened file's name, shown as it is).
QString NodeName(std::string_view raw, bool is_root = false);

// A filter written as "Name|*.a;*.b|Name 2|*.c" becomes Qt's name filters
// ("Name (*.a *.b)", "Name 2 (*.c)"); a name that already ends with its pattern keeps it once.
QStringList NameFilters(const QString& pairs);

// A path shown or entered in a dialog as a filesystem path.
std::filesystem::path ToPath(const QString& path);

}  // namespace corvane::ui
