#include "document/order_list.h"

#include <algorithm>
#include <system_error>

#include "base/platform.h"
#include "document/names.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDirectoryWord = "SECTION";
constexpr std::string_view kFileWord = "FILE";
constexpr std::size_t kNameColumn = 13;

// Trims characters up to and including the space (the text tools' notion of blanks).
std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  return s;
}
std::string_view Trim(std::string_view s) {
  s = TrimLeft(s);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// The raw bytes of a UTF-8 disk name produced from a raw name (exact: every character is Latin-1).
std::string RawOf(const std::string& utf8) { return Utf8ToLatin1(utf8); }

}  // namespace

std::string ExportaOrdenTexto(const TNodo& root, std::string_view root_name) {
  bool lossy = false;
  std::string root_column = Utf8ToLatin1(root_name, &lossy);
  if (lossy) root_column = std::string(root_name);  // not Latin-1: keep the platform's bytes

  std::string out;
  for (const TNodo* dir : root.Children()) {
    const std::string dir_column = NeedsEscape(dir->Text) ? EscapeName(dir->Text) : dir->Text;
    out += std::string(kDirectoryWord) + " " + dir_column + "\r\n";
    const std::string folder = RawOf(DiskFolderName(dir->Text));
    for (const TNodo* file : dir->Children()) {
      std::string name = ListName(file->Text);
      // Tree names have at most 12 characters; a longer one still gets its separating space.
      name.resize(std::max(kNameColumn, name.size() + 1), ' ');
      out += "FILE    " + name + "~" + root_column + "\\" + folder + "\\" +
             RawOf(DiskFileName(file->Text)) + "\r\n";
    }
  }
  return out;
}

std::vector<OrderEntry> LeeOrden(std::string_view text) {
  std::vector<OrderEntry> entries;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;

    if (line.substr(0, kDirectoryWord.size()) == kDirectoryWord) {
      OrderEntry e;
      e.directory = true;
      e.name = NameFromList(Trim(line.substr(std::min<std::size_t>(7, line.size()))));
      entries.push_back(std::move(e));
    } else if (line.substr(0, kFileWord.size()) == kFileWord) {
      const std::string_view rest = TrimLeft(line.substr(4));
      const std::size_t space = rest.find(' ');
      OrderEntry e;
      e.name = RecortaNombre(NameFromList(rest.substr(0, space)));
      if (space != std::string_view::npos) e.path = std::string(Trim(rest.substr(space + 1)));
      entries.push_back(std::move(e));
    }
  }
  return entries;
}

fs::path OrderPathOnDisk(const fs::path& list_folder, std::string_view path_column) {
  fs::path as_latin1 = list_folder;
  fs::path as_bytes = list_folder;
  std::size_t pos = 0;
  while (pos <= path_column.size()) {
    std::size_t end = path_column.find_first_of("\\/", pos);
    if (end == std::string_view::npos) end = path_column.size();
    const std::string_view part = path_column.substr(pos, end - pos);
    if (!part.empty()) {
      as_latin1 /= PathFromUtf8(Latin1ToUtf8(part));
      as_bytes /= std::string(part);
    }
    pos = end + 1;
  }
  std::error_code ec;
  if (!fs::exists(as_latin1, ec) && fs::exists(as_bytes, ec)) return as_bytes;
  return as_latin1;
}

}  // namespace corvane
