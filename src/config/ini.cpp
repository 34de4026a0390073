#include "config/ini.h"


#include "base/file_io.h"

namespace corvane {

namespace {

constexpr std::size_t npos = std::string::npos;

// The platform's white space around names and values (0x1A is the old end-of-file mark).
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

// A trimmed value loses one pair of matching quotes around it.
std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && IsQuote(v.front()) && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

bool ValidName(std::string_view name) {
  return !name.empty() && Trim(name).size() == name.size() && !HasLineBreak(name);
}

// The value as it must stand after "=" so that reading gives it back unchanged.
std::string FormatValue(std::string_view value) {
  const bool padded = !value.empty() && (IsSpace(value.front()) || IsSpace(value.back()));
  const bool quoted = value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
  if (padded || quoted) return "\"" + std::string(value) + "\"";
  return std::string(value);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  bool negative = false;
  if (text.front() == '-' || text.front() == '+') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::uint32_t base = 10;
  if (text.size() >= 2 && text[0] == '0') {
    const char prefix = static_cast<char>(text[1] | 0x20);
    base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
    if (base != 10) text.remove_prefix(2);
  }
  // The digits up to the first character that is not one; the value wraps at 32 bits.
  std::uint32_t value = 0;
  for (const char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0 || static_cast<std::uint32_t>(digit) >= base) break;
    value = value * base + static_cast<std::uint32_t>(digit);
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

IniFile::Line IniFile::ParseLine(std::string text, std::string eol) {
  Line line;
  line.text = std::move(text);
  line.eol = std::move(eol);
  const std::string_view t = Trim(line.text);
  if (t.empty() || t.front() == ';') return line;
  if (t.front() == '[') {
    const std::size_t close = t.rfind(']');
    if (close != std::string_view::npos) {
      line.kind = Kind::Section;
      line.name = Trim(t.substr(1, close - 1));
      line.folded = FoldCase(line.name);
    }
    return line;
  }
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return line;
  line.kind = Kind::Key;
  line.name = Trim(t.substr(0, eq));
  line.folded = FoldCase(line.name);
  line.value = Unquote(Trim(t.substr(eq + 1)));
  return line;
}

IniFile IniFile::Parse(ByteView bytes) {
  IniFile ini;
  DecodedText decoded = DecodeText(bytes);
  ini.encoding_ = decoded.encoding;
  const std::string_view text = decoded.utf8;
  bool break_seen = false;
  std::size_t start = 0;
  while (start < text.size()) {
    // CR, LF and CR LF each end a line.
    std::size_t content_end = text.find_first_of("\r\n", start);
    std::string eol;
    std::size_t end;
    if (content_end == std::string_view::npos) {
      content_end = end = text.size();
    } else {
      const bool crlf = text[content_end] == '\r' && content_end + 1 < text.size() &&
                        text[content_end + 1] == '\n';
      eol = crlf ? "\r\n" : std::string(1, text[content_end]);
      end = content_end + eol.size();
    }
    if (!break_seen && !eol.empty()) {
      ini.line_break_ = eol;
      break_seen = true;
    }
    ini.lines_.push_back(ParseLine(std::string(text.substr(start, content_end - start)), eol));
    start = end;
  }
  return ini;
}

std::optional<IniFile> IniFile::Load(const std::filesystem::path& path) {
  const std::optional<Bytes> bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return Parse(*bytes);
}

IniFile IniFile::LoadOrEmpty(const std::filesystem::path& path) {
  std::optional<IniFile> ini = Load(path);
  return ini ? std::move(*ini) : IniFile();
}

std::size_t IniFile::FindSection(std::string_view folded_section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Kind::Section && lines_[i].folded == folded_section) return i;
  return npos;
}

std::size_t IniFile::FindKey(std::size_t header, std::string_view folded_key) const {
  for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
    if (lines_[i].kind == Kind::Key && lines_[i].folded == folded_key) return i;
  return npos;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  const std::size_t header = FindSection(FoldCase(Trim(section)));
  if (header == npos) return std::nullopt;
  const std::size_t at = FindKey(header, FoldCase(Trim(key)));
  if (at == npos) return std::nullopt;
  return lines_[at].value;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view default_value) const {
  std::optional<std::string> value = Find(section, key);
  return value ? std::move(*value) : std::string(default_value);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t default_value) const {
  const std::optional<std::string> value = Find(section, key);
  if (!value) return default_value;
  return ParseIniInteger(*value).value_or(default_value);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

bool IniFile::HasSection(std::string_view section) const {
  return FindSection(FoldCase(Trim(section))) != npos;
}

std::vector<std::string> IniFile::SectionNames() const {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Kind::Section && FindSection(lines_[i].folded) == i)
      names.push_back(lines_[i].name);
  return names;
}

std::vector<std::string> IniFile::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  const std::size_t header = FindSection(FoldCase(Trim(section)));
  if (header == npos) return names;
  for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
    if (lines_[i].kind == Kind::Key && FindKey(header, lines_[i].folded) == i)
      names.push_back(lines_[i].name);
  return names;
}

void IniFile::InsertLine(std::size_t at, std::string text) {
  // The new line takes the place of the end of the line before it: a file that ends without a
  // line break still ends without one.
  std::string eol = line_break_;
  if (at > 0 && lines_[at - 1].eol.empty()) {
    lines_[at - 1].eol = line_break_;
    eol.clear();
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), ParseLine(std::move(text), eol));
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (!ValidName(section) || section.find(']') != std::string_view::npos) return false;
  if (!ValidName(key) || key.find('=') != std::string_view::npos || key.front() == ';' ||
      key.front() == '[')
    return false;
  if (HasLineBreak(value)) return false;

  const std::string formatted = FormatValue(value);
  const std::size_t header = FindSection(FoldCase(section));
  if (header == npos) {
    InsertLine(lines_.size(), "[" + std::string(section) + "]");
    InsertLine(lines_.size(), std::string(key) + "=" + formatted);
    return true;
  }
  const std::size_t at = FindKey(header, FoldCase(key));
  if (at != npos) {
    Line& line = lines_[at];
    line = ParseLine(line.name + "=" + formatted, line.eol);
    return true;
  }
  std::size_t insert_at = header + 1;
  for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
    if (lines_[i].kind == Kind::Key) insert_at = i + 1;
  InsertLine(insert_at, std::string(key) + "=" + formatted);
  return true;
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, std::int64_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::Text() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += line.eol;
  }
  return text;
}

Bytes IniFile::Serialize() const { return EncodeText(Text(), encoding_); }

bool IniFile::Encodable() const {
  return encoding_ != TextEncoding::Windows1252 || FitsWindows1252(Text());
}

std::string IniFile::Save(const std::filesystem::path& path) const {
  if (!Encodable()) return "the text holds characters that Windows-1252 does not have";
  return WriteFileAtomic(path, Serialize());
}

}  // namespace corvane
