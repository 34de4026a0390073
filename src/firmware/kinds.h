// The kinds of file a firmware holds, told from a file name: the one table that chooses a
// file's tree type, its tree icon, the editor double click opens and what the code export and
// the command-line tool read it as.
//
// The kind is chosen by the three characters that end one before the end of the name
// (".cp" for "menu.cpi" and "menu.cpz"), without letter case. Every kind's files are read
// through decompression, whatever their last character says.
#pragma once

#include <array>
#include <string_view>

namespace corvane {

enum class FileKind {
  Directory = 0,
  Class = 1,
  Application = 2,
  Palette = 3,
  Script = 4,
  Panel = 5,
  Strings = 6,
  Image = 7,
  Icons = 8,
  Data = 9,
  Other = 10,
};

struct FileKindInfo {
  FileKind kind;
  std::string_view stem;  // the three characters that choose it (".cl")
  std::string_view name;  // its name in the command-line tool and JSON forms ("class")
};

inline constexpr std::array<FileKindInfo, 9> kFileKinds = {{
    {FileKind::Class, ".cl", "class"},
    {FileKind::Application, ".ap", "application"},
    {FileKind::Palette, ".lu", "palette"},
    {FileKind::Script, ".cp", "script"},
    {FileKind::Panel, ".pa", "panel"},
    {FileKind::Strings, ".mp", "strings"},
    {FileKind::Image, ".im", "image"},
    {FileKind::Icons, ".ic", "icons"},
    {FileKind::Data, ".da", "data"},
}};

// The kind of a file name (Other for a name shorter than four characters or an unknown stem).
FileKind KindOfName(std::string_view name);
// The table row of a kind, or nullptr for Directory and Other.
const FileKindInfo* FindFileKind(FileKind kind);
// The table row whose name is `name` ("palette"), or nullptr.
const FileKindInfo* FindFileKind(std::string_view name);

}  // namespace corvane
