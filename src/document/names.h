// Node names on screen, on disk and in file-order lists.
//
// A node's text is a raw 8-bit name exactly as the image stores it; any byte but NUL may occur
// (0xFF included). On screen and on disk a name stands for its Latin-1 meaning, written as UTF-8.
// Names that cannot be a file name as they are ("", ".", "..", names holding "/", "\", control
// characters, a leading "~" or leading/trailing spaces) are written in an escaped form that the
// way back decodes again, so that extracting and inserting keeps every name byte for byte:
//
//   "~%" followed by the name with "%", "/", "\", space and control bytes written as "%XX".
//
// A leading "~" is otherwise the device-name mark: "COM1.lut" is written as "~COM1.lut" (COM and
// LPT followed by a digit are device names on some systems) and the "~" is dropped on insertion.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/latin1.h"

namespace corvane {

// The node's name as shown to the user (UTF-8). The root's text is the opened file's name as the
// platform gave it and is shown unchanged; pass is_root for it.
std::string DisplayName(std::string_view raw, bool is_root = false);

// "COM" or "LPT" (any letter case) followed by a digit.
bool IsDeviceName(std::string_view raw);

inline constexpr std::string_view kEscapeMark = "~%";

// True when the raw name cannot be used as a file name as it is (see above).
bool NeedsEscape(std::string_view raw);
// "~%" + the name with "%", "/", "\", space and control bytes as "%XX" (raw bytes).
std::string EscapeName(std::string_view raw);
// The raw name of an escaped form; nullopt when `text` does not begin with "~%".
std::optional<std::string> UnescapeName(std::string_view text);

// The UTF-8 file name of a file node: escaped when needed, else "~" + name for device names.
std::string DiskFileName(std::string_view raw);
// The UTF-8 folder name of a directory node: escaped when needed, else the name itself.
std::string DiskFolderName(std::string_view raw);
// The raw node name for a file name found on disk: the way back of DiskFileName (an escaped form
// is decoded; otherwise one leading "~" is dropped). *lossy is set when the disk name held
// characters outside Latin-1 (they become "_").
std::string NodeNameFromDisk(std::string_view disk_utf8, bool* lossy = nullptr);

// The name column of a file-order list (raw bytes): the name, escaped when it holds a space or
// needs escaping, so that the line can be read back.
std::string ListName(std::string_view raw);
// The way back of ListName (a leading "~" of an unescaped name is dropped, as on insertion).
std::string NameFromList(std::string_view column);

// The 8.3 shortening of inserted names: with p the position of the first "." (from 1), the first
// p characters and at most 3 after the dot, then, when p > 9, the first 8 characters and the rest
// from the dot on. A name without a dot is cut to 8 characters.
std::string RecortaNombre(std::string_view name);

// The name a node gets when the user renames it to `text`, or nullopt when `text` is not a valid
// name. Only A-Z, a-z, 0-9, ".", "+" and "_" are allowed; the name is cut to 8.3 (8 characters
// before the first dot, the dot and at most 3 after it); a name whose first dot is its last
// character loses the dot; an empty name or one beginning with "." is invalid.
std::optional<std::string> NombreRenombrado(std::string_view text);

// The section word (message 32, "Sección") at the start of / inside a raw node text. The word is
// given as UTF-8 and matched both as Latin-1 bytes and as its UTF-8 bytes.
bool BeginsWithWord(std::string_view raw_text, std::string_view word_utf8);
bool ContainsWord(std::string_view raw_text, std::string_view word_utf8);

}  // namespace corvane
