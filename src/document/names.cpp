#include "document/names.h"

#include "firmware/tree.h"

namespace corvane {

namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// Bytes written as "%XX" inside an escaped name.
bool IsEscapedByte(unsigned char c) {
  return c == '%' || c == '/' || c == '\\' || c == ' ' || IsControl(c);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The length of the UTF-8 sequence starting at text[i] and its code point; 0 when the bytes there
// are not a well-formed sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t len;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > text.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

std::string Latin1ToUtf8(std::string_view raw) {
  std::string out;
  out.reserve(raw.size() * 2);
  for (char ch : raw) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::string Utf8ToLatin1(std::string_view utf8, bool* lossy, char replacement) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const std::size_t len = DecodeUtf8(utf8, i, cp);
    if (len == 0) {  // not UTF-8: the byte is taken as a Latin-1 character
      out.push_back(utf8[i]);
      ++i;
      continue;
    }
    if (cp <= 0xFF) {
      out.push_back(static_cast<char>(cp));
    } else {
      out.push_back(replacement);
      if (lossy) *lossy = true;
    }
    i += len;
  }
  return out;
}

std::string DisplayName(std::string_view raw, bool is_root) {
  return is_root ? std::string(raw) : Latin1ToUtf8(raw);
}

bool IsDeviceName(std::string_view raw) {
  if (raw.size() < 4) return false;
  const std::string head = UpperName(raw.substr(0, 3));
  return (head == "COM" || head == "LPT") && raw[3] >= '0' && raw[3] <= '9';
}

bool NeedsEscape(std::string_view raw) {
  if (raw.empty() || raw == "." || raw == "..") return true;
  if (raw.front() == '~' || raw.front() == ' ' || raw.back() == ' ') return true;
  for (char ch : raw) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '/' || c == '\\' || IsControl(c)) return true;
  }
  return false;
}

std::string EscapeName(std::string_view raw) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out(kEscapeMark);
  for (char ch : raw) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsEscapedByte(c)) {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    } else {
      out.push_back(ch);
    }
  }
  return out;
}

std::optional<std::string> UnescapeName(std::string_view text) {
  if (!text.starts_with(kEscapeMark)) return std::nullopt;
  text.remove_prefix(kEscapeMark.size());
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::string DiskFileName(std::string_view raw) {
  if (NeedsEscape(raw)) return Latin1ToUtf8(EscapeName(raw));
  if (IsDeviceName(raw)) return "~" + Latin1ToUtf8(raw);
  return Latin1ToUtf8(raw);
}

std::string DiskFolderName(std::string_view raw) {
  return Latin1ToUtf8(NeedsEscape(raw) ? EscapeName(raw) : std::string(raw));
}

std::string NodeNameFromDisk(std::string_view disk_utf8, bool* lossy) {
  const std::string raw = Utf8ToLatin1(disk_utf8, lossy);
  if (auto unescaped = UnescapeName(raw)) return *unescaped;
  if (!raw.empty() && raw.front() == '~') return raw.substr(1);
  return raw;
}

std::string ListName(std::string_view raw) {
  if (NeedsEscape(raw) || raw.find(' ') != std::string_view::npos) return EscapeName(raw);
  return std::string(raw);
}

std::string NameFromList(std::string_view column) {
  if (auto unescaped = UnescapeName(column)) return *unescaped;
  if (!column.empty() && column.front() == '~') column.remove_prefix(1);
  return std::string(column);
}

std::string RecortaNombre(std::string_view name) {
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return std::string(name.substr(0, 8));
  const std::size_t p = dot + 1;  // position of the dot, counted from 1
  std::string result(name.substr(0, p + 3));
  if (p > 9) result = result.substr(0, 8) + result.substr(dot);
  return result;
}

std::optional<std::string> NombreRenombrado(std::string_view text) {
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                         (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '_';
    if (!allowed) return std::nullopt;
  }
  std::string s(text);
  std::size_t dot = s.find('.');
  if (dot != std::string::npos && dot + 1 > 8) s = s.substr(0, 8) + s.substr(dot, 4);
  dot = s.find('.');
  if (dot != std::string::npos && s.size() - dot > 3) s = s.substr(0, dot) + s.substr(dot, 4);
  // A name whose first dot is its last character loses the dot.
  dot = s.find('.');
  if (dot != std::string::npos && dot + 1 == s.size()) s.pop_back();
  if (s.empty() || s.front() == '.') return std::nullopt;
  if (s.find('.') == std::string::npos && s.size() > 8) s.resize(8);
  return s;
}

bool BeginsWithWord(std::string_view raw_text, std::string_view word_utf8) {
  if (word_utf8.empty()) return false;
  return raw_text.starts_with(word_utf8) || raw_text.starts_with(Utf8ToLatin1(word_utf8));
}

bool ContainsWord(std::string_view raw_text, std::string_view word_utf8) {
  if (word_utf8.empty()) return false;
  return raw_text.find(word_utf8) != std::string_view::npos ||
         raw_text.find(Utf8ToLatin1(word_utf8)) != std::string_view::npos;
}

}  // namespace corvane
