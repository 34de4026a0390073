#include "firmware/families/patch_sections.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "base/latin1.h"
#include "base/message_rows.h"
#include "base/messages.h"
#include "firmware/firmware.h"
#include "firmware/sizes.h"

namespace corvane {

namespace {

constexpr std::string_view kCanalMark = "ucr";
constexpr std::string_view kCanalEnd = "patch.dbg";  // followed by NUL: the last bytes of the file

std::uint32_t RoundUp4(std::uint64_t v) {
  return static_cast<std::uint32_t>((v + 3u) & ~3ull);
}

void WriteNumber(MutableByteView out, std::size_t pos, std::uint32_t value, int n,
                 ByteOrder order) {
  if (order == ByteOrder::Little)
    out.WriteLE(pos, value, n);
  else
    out.WriteBE(pos, value, n);
}

// A count, offset or size field of 4 bytes: big-endian patches use only its low 16 bits.
std::uint32_t ReadField(ByteView in, std::size_t pos, ByteOrder order) {
  return order == ByteOrder::Little ? in.u32le(pos) : in.u16be(pos + 2);
}

bool IsCanal(const TNodo& node) {
  return !node.IsDirectory() && UpperName(node.Text) == kCanalName;
}

// Message 7 and the section's name, then ": " before what breaks the rule when there is more.
Message SectionRefusal(const TNodo& section, bool more) {
  Message m = Message::FromRow(rows::kNoRoomInSection).Break().Text(TextFromName(section.Text));
  if (more) m.Text(": ");
  return m;
}
Result Refuse(const TNodo& section) { return Result::Refused(SectionRefusal(section, false)); }
Result Refuse(const TNodo& section, int row) {
  return Result::Refused(SectionRefusal(section, true).Row(row));
}

// A section's records may point their entries at the same bytes over and over: a crafted 64 KB
// section could ask for gigabytes of files. A real one holds less than 64 KB of files, and one
// that holds more cannot be saved anyway; files beyond this total are not read.
constexpr std::size_t kSectionReadLimit = kSectionTableSlots * kPatchSectionSize;

void ReadDirectoryRecord(ByteView section, std::size_t at, ByteOrder order, TArbol& tree,
                         TNodo* section_node, std::size_t& bytes_read) {
  // Name (10), record size (2), count (4): the header must lie inside the section.
  if (!section.Contains(at, 16)) return;
  TNodo* dir = AnadeNodo({}, LeeNombre(section, at, kDirectoryNameLength), tree, section_node);
  const std::size_t count_field = at + 12;
  const std::uint32_t count = ReadField(section, count_field, order);
  for (std::uint32_t j = 0; j < count; ++j) {
    const std::size_t entry = at + 16 + kEntrySize * static_cast<std::size_t>(j);
    if (!section.Contains(entry, kEntrySize)) break;  // the table runs out of the section
    const std::size_t offset = ReadField(section, entry + 12, order);
    const std::size_t size = ReadField(section, entry + 16, order);
    if (!section.Contains(count_field + offset, size)) continue;  // bytes outside: skipped
    if (size > kSectionReadLimit - bytes_read) continue;
    bytes_read += size;
    AnadeNodo(section.Sub(count_field + offset, size), LeeNombre(section, entry, kEntryNameLength),
              tree, dir);
  }
}

}  // namespace

std::string NameFromText(std::string_view utf8) { return Utf8ToLatin1(utf8, nullptr, '?'); }

std::string TextFromName(std::string_view name) { return Latin1ToUtf8(name); }

const std::string& SectionPrefix() {
  static const std::string prefix =
      NameFromText(DefaultMessages()[static_cast<std::size_t>(rows::kSectionWord)]);
  return prefix;
}

std::string SectionName(unsigned number) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "-%02X", number & 0xFFu);
  return SectionPrefix() + digits;
}

std::int64_t SectionNumber(std::string_view name) {
  const std::size_t dash = name.find('-');
  if (dash == std::string_view::npos) return -1;
  return HexAEntero(name.substr(dash + 1));
}

void ReadPatchSection(ByteView section, ByteOrder order, TArbol& tree, TNodo* section_node) {
  if (section.size() >= kCanalMark.size() &&
      std::string_view(reinterpret_cast<const char*>(section.data()), kCanalMark.size()) ==
          kCanalMark) {
    // The file ends with "patch.dbg" and its NUL. Without that end inside the section it runs to
    // the section end: the bytes beyond belong to the next section.
    const std::int64_t end = BuscaCadena(kCanalEnd, section, section.size(), true);
    const std::size_t length =
        end < 0 ? section.size() : static_cast<std::size_t>(end) + kCanalEnd.size() + 1;
    AnadeNodo(section.Sub(0, length), kCanalName, tree, section_node);
    return;
  }
  std::size_t bytes_read = 0;
  for (std::size_t slot = 0; slot < kSectionTableSlots; ++slot) {
    const std::uint32_t at =
        order == ByteOrder::Little ? section.u16le(2 * slot) : section.u16be(2 * slot);
    if (at == 0 || at >= 0xFFFF) break;
    ReadDirectoryRecord(section, at, order, tree, section_node, bytes_read);
  }
}

namespace {
// A byte a directory name may hold: printable ASCII or a Latin-1 letter.
bool IsTextByte(std::uint8_t c) { return (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c < 0xFF); }
}  // namespace

SectionFit MeasurePatchSection(ByteView section, ByteOrder order) {
  SectionFit fit;
  if (section.size() >= kCanalMark.size() &&
      std::string_view(reinterpret_cast<const char*>(section.data()), kCanalMark.size()) ==
          kCanalMark)
    return fit;
  for (std::size_t slot = 0; slot < kSectionTableSlots; ++slot) {
    const std::uint32_t at =
        order == ByteOrder::Little ? section.u16le(2 * slot) : section.u16be(2 * slot);
    if (at == 0 || at >= 0xFFFF) break;
    bool named = section.Contains(at, 16) && section[at] != ' ' && IsTextByte(section[at]);
    for (std::size_t i = 1; named && i < kDirectoryNameLength && section[at + i] != 0; ++i)
      named = IsTextByte(section[at + i]);
    const std::size_t count_field = at + 12;
    const std::uint64_t count = named ? ReadField(section, count_field, order) : 0;
    if (!named || count == 0 || !section.Contains(at + 16, kEntrySize * count)) {
      ++fit.broken;
      continue;
    }
    std::size_t outside = 0;
    for (std::size_t j = 0; j < count; ++j) {
      const std::size_t entry = at + 16 + kEntrySize * j;
      if (!section.Contains(count_field + ReadField(section, entry + 12, order),
                            ReadField(section, entry + 16, order)))
        ++outside;
    }
    fit.entries_outside += outside;
    ++(outside == 0 ? fit.fitting : fit.broken);
  }
  return fit;
}

void FillPatchTree(TFirmware& firmware, ByteView image, std::span<const SectionPlace> places,
                   ByteOrder order) {
  TArbol& tree = *firmware.Tree;
  LiberaArbol(tree);
  TNodo* root = AnadeNodo({}, firmware.RootName, tree, nullptr);
  for (const SectionPlace& place : places) {
    TNodo* section = AnadeNodo({}, SectionName(place.number), tree, root);
    ReadPatchSection(image.Sub(place.offset, kPatchSectionSize), order, tree, section);
  }
}

Result WritePatchSection(const TNodo& section, ByteOrder order, MutableByteView slot) {
  // Check everything before the first byte is written.
  const std::uint64_t room = std::min<std::uint64_t>(kSectionLimit, slot.size());
  const TNodo* canal = nullptr;
  std::size_t directories = 0;
  std::uint64_t end = kFirstRecordOffset;  // where the next record would start
  std::uint64_t data_end = end;            // the end of the last record's bytes
  for (const TNodo* child : section.Children()) {
    if (IsCanal(*child)) {
      if (canal != nullptr || section.ChildCount() != 1)
        return Refuse(section, rows::kCanalAlone);
      canal = child;
      continue;
    }
    if (!child->IsDirectory())
      return Result::Refused(SectionRefusal(section, true)
                                 .Row(rows::kOnlyCanalInSection)
                                 .Text(TextFromName(child->Text))
                                 .Row(rows::kMustBeInDirectory));
    if (++directories > kSectionTableSlots)
      return Refuse(section, rows::kAtMost16Directories);
    std::uint64_t record = 16;
    for (const TNodo* file : child->Children()) {
      if (file->IsDirectory())
        return Result::Refused(SectionRefusal(section, true)
                                   .Row(rows::kTheDirectory)
                                   .Text(TextFromName(child->Text))
                                   .Row(rows::kHoldsTheDirectory)
                                   .Text(TextFromName(file->Text))
                                   .Row(rows::kPatchDirectoryOnlyFiles));
      record += kEntrySize + file->Data.Tamano;
    }
    data_end = end + record;
    end += RoundUp4(record);
  }
  if (canal != nullptr) {
    // CANAL_P.RCU is the whole section: it may fill the slot to its last byte.
    if (canal->Data.Tamano > slot.size()) return Refuse(section);
    slot.Copy(0, canal->Data.View());
    return Result::Ok();
  }
  // The section's bytes must stay within the section limit; the padding after the last record
  // may reach the end of the slot.
  if (data_end > room || end > slot.size()) return Refuse(section);

  std::size_t record = kFirstRecordOffset;
  std::size_t index = 0;
  for (const TNodo* dir : section.Children()) {
    WriteNumber(slot, 2 * index++, static_cast<std::uint32_t>(record), 2, order);
    const std::uint32_t size = TamanoDirectorio(*dir);
    const auto count = static_cast<std::uint32_t>(dir->ChildCount());
    EscribeNombre(slot, record, dir->Text, kDirectoryNameLength);
    WriteNumber(slot, record + 10, RoundUp4(size + 4u), 2, order);
    WriteNumber(slot, record + 12, count, 4, order);
    std::uint32_t offset = kEntrySize * count + 4;  // counted from the count field
    std::size_t entry = record + 16;
    for (const TNodo* file : dir->Children()) {
      EscribeNombre(slot, entry, file->Text, kEntryNameLength);
      WriteNumber(slot, entry + 12, offset, 4, order);
      WriteNumber(slot, entry + 16, file->Data.Tamano, 4, order);
      slot.Copy(record + 12 + offset, file->Data.View());
      offset += file->Data.Tamano;
      entry += kEntrySize;
    }
    record += RoundUp4(size + 16u);
  }
  return Result::Ok();
}

Result TooManySections(std::size_t sections, std::size_t places) {
  return Result::Refused(Message::FromRow(rows::kPatchHasSections)
                             .Text(std::to_string(sections))
                             .Row(rows::kRoomForOnly)
                             .Text(std::to_string(places)));
}

Result LoadPlainPatch(TFirmware& firmware, Bytes file, ByteOrder order) {
  constexpr std::size_t kMaxSections = 8;
  const std::size_t length = file.size();
  if (length == 0 || length % kPatchSectionSize != 0 || length > kMaxSections * kPatchSectionSize)
    return Result::Rejected(Message::FromRow(rows::kPatchBadLength)
                                .Break()
                                .Row(rows::kMultipleOf64K)
                                .Break()
                                .Row(rows::kAtMost512K));
  firmware.FileSize = static_cast<std::uint32_t>(length);
  firmware.ImageSize = firmware.FileSize;
  firmware.Image = std::move(file);
  std::vector<SectionPlace> places;
  for (unsigned k = 0; k < length / kPatchSectionSize; ++k) places.push_back({k, k * kPatchSectionSize});
  FillPatchTree(firmware, firmware.Image, places, order);
  // The writer rebuilds the file from the tree alone.
  firmware.Image = Bytes();
  return Result::Ok();
}

Result SavePlainPatch(const TFirmware& firmware, ByteOrder order, Bytes& out) {
  const TNodo* root = firmware.Root();
  if (root == nullptr) return Result::Refused(Message::FromRow(rows::kNoPatchOpen));
  const std::size_t places = firmware.FileSize / kPatchSectionSize;
  if (root->ChildCount() > places) return TooManySections(root->ChildCount(), places);
  out.assign(firmware.FileSize, 0);
  for (std::size_t k = 0; k < root->ChildCount(); ++k) {
    Result r = WritePatchSection(*root->Child(k), order,
                                 MutableByteView(out.data() + k * kPatchSectionSize, kPatchSectionSize));
    if (!r) return r;
  }
  return Result::Ok();
}

}  // namespace corvane
