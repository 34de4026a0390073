#include "resources/instruction_table.h"

#include <cstdio>
#include <string_view>

#include "base/file_io.h"
#include "config/ini.h"
#include "firmware/tree.h"

namespace corvane {

namespace {

enum class Key {
  Name,
  Comment,
  Type,
  Par,
  Mnem,
  Parlen,
  Pop,
  Peek,
  Push,
  Modpop,
  Modpush,
  Shift,
  Oplen,
  Declaration
};

// The keys in the order a line is compared with them; the first whose text begins the lower-cased
// line wins ("parlen" is not taken for "par=").
constexpr std::pair<std::string_view, Key> kKeys[] = {
    {"name", Key::Name},       {"comment", Key::Comment},
    {"type", Key::Type},       {"par=", Key::Par},
    {"mnem", Key::Mnem},       {"parlen", Key::Parlen},
    {"pop", Key::Pop},         {"peek", Key::Peek},
    {"push", Key::Push},       {"modpop", Key::Modpop},
    {"modpush", Key::Modpush}, {"shift", Key::Shift},
    {"oplen", Key::Oplen},     {"declaration", Key::Declaration}};

bool StartsWithLower(std::string_view line, std::string_view key) {
  if (line.size() < key.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i) {
    char c = line[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != key[i]) return false;
  }
  return true;
}

std::int32_t* IntegerField(InstructionEntry& e, Key key) {
  switch (key) {
    case Key::Parlen:
      return &e.parlen;
    case Key::Pop:
      return &e.pop;
    case Key::Peek:
      return &e.peek;
    case Key::Push:
      return &e.push;
    case Key::Modpop:
      return &e.modpop;
    case Key::Modpush:
      return &e.modpush;
    case Key::Shift:
      return &e.shift;
    case Key::Oplen:
      return &e.oplen;
    default:
      return nullptr;
  }
}

std::string* StringField(InstructionEntry& e, Key key) {
  switch (key) {
    case Key::Name:
      return &e.name;
    case Key::Comment:
      return &e.comment;
    case Key::Type:
      return &e.type;
    case Key::Par:
      return &e.par;
    case Key::Mnem:
      return &e.mnem;
    case Key::Declaration:
      return &e.declaration;
    default:
      return nullptr;
  }
}

bool IsDecimalNumber(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (text.empty()) return false;
  for (const char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

Result NotANumber(int line_number, std::string_view line) {
  return Result::Rejected(Message::FromRow(kMsgInstructionNotNumber)
                              .Text(" " + std::to_string(line_number) + ": " + std::string(line)));
}

}  // namespace

std::string DefaultInstructionName(std::uint32_t opcode) {
  char text[16];
  std::snprintf(text, sizeof text, "func%04X", opcode & 0xFFFFu);
  return text;
}

void InstructionTable::Reset() {
  for (int i = 0; i < kInstructionCount; ++i) {
    entries_[static_cast<std::size_t>(i)] = InstructionEntry{};
    entries_[static_cast<std::size_t>(i)].name =
        DefaultInstructionName(static_cast<std::uint32_t>(i));
  }
}

const InstructionEntry& InstructionTable::Entry(std::uint32_t opcode) const {
  return opcode < kInstructionCount ? entries_[opcode] : beyond_;
}

std::string InstructionTable::Name(std::uint32_t opcode) const {
  return opcode < kInstructionCount ? entries_[opcode].name : DefaultInstructionName(opcode);
}

Result InstructionTable::Read(ByteView text) {
  const std::string_view all(reinterpret_cast<const char*>(text.data()), text.size());
  InstructionEntry beyond_section;
  InstructionEntry* entry = &entries_[0];
  std::size_t start = 0;
  int line_number = 0;
  while (start < all.size()) {
    std::size_t end = all.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = all.size();
    const std::string_view line = all.substr(start, end - start);
    start = end + (all.substr(end).starts_with("\r\n") ? 2 : 1);
    ++line_number;

    if (line.empty() || line.front() == ';') continue;
    if (line.size() == 6 && line.front() == '[' && line.back() == ']') {
      const std::int64_t opcode = HexAEntero(UpperName(line.substr(1, 4)));
      if (opcode < 0) return NotANumber(line_number, line);
      if (opcode < kInstructionCount) {
        entry = &entries_[static_cast<std::size_t>(opcode)];
        entry->undefined = false;
      } else {
        entry = &beyond_section;  // outside the table: its keys are read and dropped
      }
      continue;
    }
    for (const auto& [name, key] : kKeys) {
      if (!StartsWithLower(line, name)) continue;
      const std::size_t eq = line.find('=');
      const std::string_view value =
          eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
      if (std::string* s = StringField(*entry, key)) {
        *s = std::string(value);
      } else if (std::int32_t* n = IntegerField(*entry, key)) {
        // The whole value must be a decimal number (a sign allowed): anything else stops the
        // reading, where an INI integer would read its leading digits.
        const auto parsed = IsDecimalNumber(value) ? ParseIniInteger(value) : std::nullopt;
        if (!parsed) return NotANumber(line_number, line);
        *n = *parsed;
      }
      break;
    }
  }
  return Result::Ok();
}

Result InstructionTable::ReadFile(const std::filesystem::path& asm_inst_ini) {
  Reset();
  const std::optional<Bytes> bytes = ReadWholeFile(asm_inst_ini);
  if (!bytes) return Result::IoError(Message::FromRow(3).Break().Text(asm_inst_ini.string()));
  return Read(*bytes);
}

InstructionTable& Instructions() {
  static InstructionTable table;
  return table;
}

}  // namespace corvane
