// Text files that may come from Windows: decoding to UTF-8 and encoding back.
//
// Files made by Windows tools are often Windows-1252 text; new files we write are UTF-8. A file
// is decoded line by line: a line that is valid UTF-8 is kept as it is, any other line is taken as
// Windows-1252. Files with a UTF-16 byte-order mark (the platform's "Unicode" INI files) are
// decoded as UTF-16. Line breaks are left in the decoded text as they were.
#pragma once

#include <string>
#include <string_view>

#include "base/bytes.h"

namespace corvane {

enum class TextEncoding {
  Utf8,         // UTF-8 without a byte-order mark (also plain ASCII)
  Utf8Bom,      // UTF-8 with a byte-order mark
  Windows1252,  // at least one line was not valid UTF-8 (written back as Windows-1252)
  Utf16LE,      // UTF-16 little-endian with its byte-order mark
  Utf16BE,      // UTF-16 big-endian with its byte-order mark
};

struct DecodedText {
  std::string utf8;
  TextEncoding encoding = TextEncoding::Utf8;
};

bool IsValidUtf8(std::string_view text);

// Every byte as its Windows-1252 character, in UTF-8. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number, as
// the platform's converter does.
std::string Windows1252ToUtf8(std::string_view bytes);

DecodedText DecodeText(ByteView bytes);

// The text in the given encoding; Utf8Bom and the UTF-16 forms keep their byte-order mark. Bytes
// of `utf8` that are not valid UTF-8 become U+FFFD in UTF-16. In Windows1252 a character the code
// page does not have becomes "?" (check FitsWindows1252 first).
Bytes EncodeText(std::string_view utf8, TextEncoding encoding);
// True when every character of the text has a Windows-1252 byte.
bool FitsWindows1252(std::string_view utf8);

// Case-insensitive comparison of UTF-8 names as the platform compares INI and file names: ASCII
// letters and the accented letters of Latin-1 (À-Þ / à-þ) fold; everything else compares exactly.
std::string FoldCase(std::string_view utf8);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace corvane
