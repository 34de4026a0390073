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

}  // namespace

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
