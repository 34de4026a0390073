#include "resources/class.h"

#include <algorithm>
#include <cstdio>

#include "document/names.h"
#include "resources/stored.h"

namespace corvane {

namespace {

// The text at pos up to its NUL (at most `limit` bytes kept) and the position after the NUL.
std::string ReadName(ByteView plain, std::size_t& pos, std::size_t limit) {
  std::size_t end = pos;
  while (end < plain.size() && plain.at(end) != 0) ++end;
  const std::size_t length = end - pos;
  std::string text = LeeNombre(plain, pos, std::min(length, limit));
  pos = end + 1;
  return text;
}

bool HasOptionAndLength(int type) {
  return type == 0 || type == 1 || type == 4 || type == 6 || type == 7 || type == 8 || type == 9;
}

std::string Hex3(std::size_t i) {
  char text[8];
  std::snprintf(text, sizeof text, "%03X", static_cast<unsigned>(i & 0xFFF));
  return text;
}

}  // namespace

int WrittenDimensionKind(const ClassVariable& v) {
  return (v.type != 2 && v.type != 3 ? 1 : 0) + (v.dimension1 >= 2 || v.dimension2 >= 2 ? 2 : 0);
}

TMHWClass TMHWClass::Create(const TNodo& node) {
  return FromPlain(PlainOf(node));
}

TMHWClass TMHWClass::FromPlain(ByteView plain) {
  TMHWClass c;
  c.plain = plain.ToBytes();
  // Each variable's record takes at least 2 bytes after the 14-byte head: a count the bytes cannot
  // hold (a damaged file) would otherwise make up to 65535 variables out of nothing.
  const std::size_t room = plain.size() > 14 ? (plain.size() - 14) / 2 : 0;
  const std::uint32_t count =
      static_cast<std::uint32_t>(std::min<std::size_t>(plain.u16be(0), room));
  std::size_t p = 14;
  c.variables.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    ClassVariable v;
    const std::uint8_t t = plain.at(p);
    // Bits 0-3 hold the type; types 16 to 32 also use bits 4 and 5 (free otherwise).
    v.type = static_cast<std::uint8_t>((t & 0x3F) <= 32 ? (t & 0x3F) : (t & 0x0F));
    v.dimension_kind = (t & 0x80) ? 2 : 0;
    const std::uint8_t b = plain.at(p + 1);
    p += 2;
    v.option = 0;
    v.length = 0;
    if (HasOptionAndLength(v.type)) {
      v.option = b;
      v.length = static_cast<int>(plain.u16be(p));
      p += 2;
    } else if (v.type == 2 || v.type == 5) {
      v.length = b;
    } else if (v.type == 3 || v.type == 10) {
      v.option = b >> 4;
      v.length = b & 15;
    }
    if (v.dimension_kind == 2) {
      v.dimension1 = static_cast<int>(plain.u16be(p));
      v.dimension2 = static_cast<int>(plain.u16be(p + 2));
      p += 4;
      if (v.dimension2 == 1) v.dimension_kind = 1;
    }
    c.variables.push_back(std::move(v));
  }
  c.name = ReadName(plain, p, kClassNameLimit);
  for (ClassVariable& v : c.variables) v.name = ReadName(plain, p, kClassNameLimit);
  return c;
}

Bytes TMHWClass::Plain() const {
  Bytes out(14, 0);
  MutableByteView(out).Copy(0, ByteView(plain).Sub(0, 14));
  std::size_t names_size = 0;
  for (const ClassVariable& v : variables) names_size += v.name.size() + 1;
  MutableByteView(out).WriteBE(0, static_cast<std::uint32_t>(variables.size()), 2);
  MutableByteView(out).WriteBE(10, static_cast<std::uint32_t>(name.size() + 1), 2);
  MutableByteView(out).WriteBE(12, static_cast<std::uint32_t>(names_size), 2);
  auto put16 = [&out](int value) {
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  };
  for (const ClassVariable& v : variables) {
    const int kind = WrittenDimensionKind(v);
    out.push_back(static_cast<std::uint8_t>((v.type & 0x3F) + kind * 64));
    if (HasOptionAndLength(v.type)) {
      out.push_back(static_cast<std::uint8_t>(v.option));
      put16(v.length);
    } else if (v.type == 2 || v.type == 5) {
      out.push_back(static_cast<std::uint8_t>(v.length));
    } else if (v.type == 3 || v.type == 10) {
      out.push_back(static_cast<std::uint8_t>((v.option & 15) * 16 + (v.length & 15)));
    } else {
      out.push_back(0);  // no payload of its own: the byte the reader takes
    }
    if (kind > 1) {
      put16(v.dimension1);
      put16(v.dimension2);
    }
  }
  MutableByteView(out).WriteBE(8, static_cast<std::uint32_t>(out.size() - 14), 2);
  auto put_name = [&out](const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
  };
  put_name(name);
  for (const ClassVariable& v : variables) put_name(v.name);
  out.push_back(0);
  out.push_back(0);
  return out;
}

bool TMHWClass::Guarda(TNodo& node) {
  Bytes bytes = Plain();
  if (!StorePlain(node, bytes)) return false;
  for (ClassVariable& v : variables) v.dimension_kind = WrittenDimensionKind(v);
  plain = std::move(bytes);
  return true;
}

void TMHWClass::NuevaVariable(int i, const MessageTable& messages) {
  ClassVariable v;
  v.name = Utf8ToLatin1(messages.Text(240));
  const std::size_t at = std::min(static_cast<std::size_t>(std::max(i + 1, 0)), variables.size());
  variables.insert(variables.begin() + static_cast<std::ptrdiff_t>(at), std::move(v));
}

bool TMHWClass::BorraVariable(int i) {
  if (variables.size() < 2 || i < 0 || static_cast<std::size_t>(i) >= variables.size())
    return false;
  variables.erase(variables.begin() + i);
  return true;
}

bool TMHWClass::MueveVariable(int from, int to) {
  const auto n = static_cast<int>(variables.size());
  if (from < 0 || from >= n || to < 0 || to >= n) return false;
  ClassVariable v = std::move(variables[static_cast<std::size_t>(from)]);
  variables.erase(variables.begin() + from);
  variables.insert(variables.begin() + to, std::move(v));
  return true;
}

void TMHWClass::Describe(const TNodo& node, const VarTypeTable& types, const MessageTable& messages,
                         std::vector<std::string>& lines) const {
  const auto& m = messages;
  const TNodo* parent = node.Parent();
  lines.push_back(std::string(41, '-'));
  lines.push_back(m.Text(296) + " " + (parent ? DisplayName(parent->Text) : std::string()));
  lines.push_back(m.Text(298) + " " + DisplayName(node.Text));
  lines.push_back(m.Text(299) + " " + Latin1ToUtf8(name));
  lines.push_back(m.Text(300) + " " + std::to_string(variables.size()));
  for (std::size_t i = 0; i < variables.size(); ++i) {
    const ClassVariable& v = variables[i];
    const std::string h = " " + Hex3(i) + " : ";
    const std::string type_name = v.type < kVarTypeCount ? types[v.type].type : std::string("???");
    lines.push_back(std::string(17, '-'));
    lines.push_back(m.Text(301) + h + Latin1ToUtf8(v.name));
    lines.push_back(m.Text(302) + h + type_name);
    lines.push_back(m.Text(303) + h + std::to_string(v.dimension_kind));
    lines.push_back(m.Text(304) + h + std::to_string(v.dimension1));
    lines.push_back(m.Text(305) + h + std::to_string(v.dimension2));
    lines.push_back(m.Text(306) + h + std::to_string(v.length));
    if (OptionOf(v.type) == VariableOption::Precision)
      lines.push_back(m.Text(308) + h + std::to_string(v.option));
    else if (OptionOf(v.type) == VariableOption::LowerCase)
      lines.push_back(m.Text(307) + h + (v.option == 1 ? "True" : "False"));
  }
}

bool IsValidVariableName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                    c == '.' || c == '+' || c == '_';
    if (!ok) return false;
  }
  return true;
}

std::string DigitsOnly(std::string_view text) {
  std::string digits;
  for (const char c : text)
    if (c >= '0' && c <= '9') digits.push_back(c);
  return digits;
}

int VariableFieldLimit(int type, VariableField field) {
  if (field == VariableField::Dimension1 || field == VariableField::Dimension2) return 0xFFFF;
  if (type == 3 || type == 10) return 15;
  if (field == VariableField::Option) return HasOptionAndLength(type) ? 0xFF : 0;
  return type == 2 || type == 5 ? 0xFF : 0xFFFF;
}

std::optional<int> VariableFieldValue(std::string_view text, int type, VariableField field) {
  if (text.empty() || text.size() > static_cast<std::size_t>(kClassFieldDigits) ||
      DigitsOnly(text).size() != text.size())
    return std::nullopt;
  const int value = std::stoi(std::string(text));
  if (value > VariableFieldLimit(type, field)) return std::nullopt;
  return value;
}

VariableOption OptionOf(int type) {
  if (type == 3) return VariableOption::Precision;
  if (type == 0 || type == 1 || type == 6 || type == 8) return VariableOption::LowerCase;
  return VariableOption::None;
}

void SetVariableType(ClassVariable& v, int type) {
  v.type = static_cast<std::uint8_t>(type);
  if (type == 2 || type == 3) v.dimension_kind = 0;
  v.length = std::min(v.length, VariableFieldLimit(type, VariableField::Length));
  v.option = std::min(v.option, VariableFieldLimit(type, VariableField::Option));
}

}  // namespace corvane
