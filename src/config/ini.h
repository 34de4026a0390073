// INI files read and written the way the Windows platform's INI functions do.
//
// Reading: section and key names compare without regard to letter case; names and values are
// trimmed of surrounding white space; a value enclosed in a matching pair of double (or single)
// quotes loses the pair; a missing file, section or key gives the caller's default, while a key
// present with an empty value gives the empty string. Lines beginning with ";" are comments; a
// line without "=" defines no key. When a section or key appears twice, the first one counts.
// CR, LF and CR LF each end a line. Integers are read from the leading digits of the value (see
// ParseIniInteger); booleans are integers, 0 false and anything else true.
//
// Writing changes only the line of the key written: every other line (comments, blank lines,
// other keys and sections, their order and line breaks) stays byte for byte. A key that is not
// there yet goes after the last key of its section; a section that is not there yet goes at the
// end of the file. Values that would not read back as written (leading or trailing spaces, or a
// surrounding pair of quotes) are written inside double quotes. Every line keeps its own line
// break and new lines take the file's first one; a new document uses CR LF. A file is written
// back in the encoding it was read in; a new document is UTF-8.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/text_encoding.h"
#include "base/bytes.h"

namespace corvane {

// The platform's integer conversion of an INI value: surrounding blanks, an optional sign, an
// optional "0x", "0o" or "0b" base prefix, then the digits up to the first character that is not
// one ("8 ; eight" is 8, "800px" 800, "1.5" 1, "abc" 0). The value wraps at 32 bits, taken as a
// signed pattern. nullopt only for an empty value (the caller's default applies).
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

class IniFile {
 public:
  IniFile() = default;

  // Decodes the bytes (see text_encoding.h) and parses them.
  static IniFile Parse(ByteView bytes);
  // The file's contents, or nullopt when it does not exist or cannot be read.
  static std::optional<IniFile> Load(const std::filesystem::path& path);
  // The file's contents, or an empty document when it does not exist or cannot be read.
  static IniFile LoadOrEmpty(const std::filesystem::path& path);

  // The value of the key, or nullopt when the section or key is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t default_value) const;
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;

  bool HasSection(std::string_view section) const;
  // Section names in file order (each once, as first written).
  std::vector<std::string> SectionNames() const;
  // Key names of the section in file order (each once, as first written).
  std::vector<std::string> KeyNames(std::string_view section) const;

  // Sets the key's value. False (and nothing changed) when the section or key name is empty,
  // has surrounding spaces or holds characters the format cannot carry (line breaks; "=" or a
  // leading ";" or "[" in a key; "]" in a section), or the value holds a line break.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, std::int64_t value);
  bool WriteBool(std::string_view section, std::string_view key, bool value);  // 1 or 0

  // The whole document as bytes in the file's own encoding (a character that Windows-1252 cannot
  // hold becomes "?" there: check Encodable() first).
  Bytes Serialize() const;
  // False when the file is Windows-1252 and its text now holds a character that code page lacks.
  bool Encodable() const;
  // Serialize() written atomically over `path`; the error text, empty on success. Nothing is
  // written when the document is not Encodable().
  std::string Save(const std::filesystem::path& path) const;

  TextEncoding encoding() const { return encoding_; }
  const std::string& line_break() const { return line_break_; }

 private:
  enum class Kind { Other, Section, Key };
  struct Line {
    std::string text;  // the line as it stands, without its line break
    std::string eol;   // its line break: "\r\n", "\n", "\r" or "" for a last line without one
    Kind kind = Kind::Other;
    std::string folded;  // the section or key name, case-folded
    std::string name;    // the section or key name as written
    std::string value;   // a key's value as read (trimmed, quotes removed)
  };

  static Line ParseLine(std::string text, std::string eol);
  std::string Text() const;  // every line with its line break, UTF-8
  // Index of the first section header with that name, or npos.
  std::size_t FindSection(std::string_view folded_section) const;
  // Index of the key line inside the section starting at `header`, or npos.
  std::size_t FindKey(std::size_t header, std::string_view folded_key) const;
  void InsertLine(std::size_t at, std::string text);

  std::vector<Line> lines_;
  std::string line_break_ = "\r\n";
  TextEncoding encoding_ = TextEncoding::Utf8;
};

}  // namespace corvane
