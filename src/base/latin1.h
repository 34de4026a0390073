// Raw 8-bit names and their Latin-1 meaning as UTF-8 text.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Latin-1 bytes as UTF-8 text.
std::string Latin1ToUtf8(std::string_view raw);
// UTF-8 text as Latin-1 bytes. A character above U+00FF becomes `replacement` and sets *lossy.
// Bytes that are not valid UTF-8 are taken as Latin-1 bytes themselves (a name written in Latin-1
// stays what it was).
std::string Utf8ToLatin1(std::string_view utf8, bool* lossy = nullptr, char replacement = '_');

}  // namespace corvane
