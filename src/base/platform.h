// What differs between the platforms the core runs on (Linux and other POSIX systems, Windows),
// in one place: the running program's file, file names as text, and replacing a file atomically.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

// The running program file; empty when the system does not tell.
std::filesystem::path RunningProgramPath();

// A path from UTF-8 text and back. On Windows file names are UTF-16 and the narrow
// conversions of std::filesystem follow the system code page, so UTF-8 text goes through
// char8_t; elsewhere the bytes are the name.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// Renames `from` over `to`, replacing a file there in one step (on Windows through
// MoveFileEx with write-through). The text says what failed; empty on success.
std::string RenameOver(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace corvane
