// Patch sections: the 64 KB pieces a patch image is cut into, shared by the four patch families.
//
// A section holds either the single file CANAL_P.RCU (its bytes start with "ucr") or a table of up
// to 16 two-byte record offsets at its start, ended by 0 or 0xFFFF, pointing to directory records:
// name (10 bytes), record size (2), file count (4), count × 20-byte entries (name 12, offset from
// the count field 4, size 4), then the files' bytes. The big-endian patches use only the low 16
// bits of count, offset and size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "base/bytes.h"
#include "base/result.h"
#include "firmware/models.h"
#include "firmware/sizes.h"
#include "firmware/tree.h"

namespace corvane {

// Message rows of the patch writers' refusals: what keeps a section from being written back.
namespace rows {
inline constexpr int kStrongSectionNumber = 370;
inline constexpr int kSectionNumberTwice = 371;
inline constexpr int kNoBlockForSection = 372;
inline constexpr int kCanalAlone = 373;
inline constexpr int kOnlyCanalInSection = 374;
inline constexpr int kMustBeInDirectory = 375;
inline constexpr int kAtMost16Directories = 376;
inline constexpr int kTheDirectory = 377;
inline constexpr int kHoldsTheDirectory = 378;
inline constexpr int kPatchDirectoryOnlyFiles = 379;
inline constexpr int kPatchHasSections = 380;
inline constexpr int kRoomForOnly = 381;
}  // namespace rows

class TFirmware;

inline constexpr std::size_t kSectionTableSlots = 16;
inline constexpr std::size_t kFirstRecordOffset = 32;  // records follow the 16-slot offset table
inline constexpr std::size_t kDirectoryNameLength = 10;
inline constexpr std::size_t kEntryNameLength = 12;
inline constexpr std::size_t kEntrySize = 20;

// A message-table text (UTF-8) in the 8-bit form node names have (Latin-1, as names are shown
// everywhere); a character outside Latin-1 becomes "?".
std::string NameFromText(std::string_view utf8);
// An 8-bit node name as UTF-8, for literal pieces of messages.
std::string TextFromName(std::string_view name);

// The 8-bit prefix of section node names: message 32 ("Secci\xF3n").
const std::string& SectionPrefix();
// The node name of section `number`: the prefix, "-", two capital hexadecimal digits.
std::string SectionName(unsigned number);
// HexAEntero of the text after the first "-" of a section name; -1 when there is no "-".
std::int64_t SectionNumber(std::string_view name);

// Adds the contents of one section (its bytes, at most 64 KB) under `section_node`. Every read
// stays inside `section`; entries whose bytes lie outside it are skipped.
void ReadPatchSection(ByteView section, ByteOrder order, TArbol& tree, TNodo* section_node);

// How a section's directory records read in one byte order: records whose header has a name and a
// file table inside the section and whose every entry's bytes lie inside it (`fitting`), and the
// others (`broken`), with the entries pointing outside the section. A CANAL_P.RCU section or an
// empty table counts as neither.
struct SectionFit {
  std::size_t fitting = 0;
  std::size_t broken = 0;
  std::size_t entries_outside = 0;
};
SectionFit MeasurePatchSection(ByteView section, ByteOrder order);

// Where a loader finds its sections: node number and image offset of each, in tree order.
struct SectionPlace {
  unsigned number;
  std::size_t offset;
};
// The loaders' common tail: empties the tree, adds the root (RootName) and one section node per
// place, each filled from image[offset, offset + 64 KB).
void FillPatchTree(TFirmware& firmware, ByteView image, std::span<const SectionPlace> places,
                   ByteOrder order);

// Writes the section node into `slot` (zero-filled, normally 64 KB). Refused, with nothing
// promised about the slot's bytes, when the contents cannot be stored there: more than 65535
// bytes or more than the slot holds, more than 16 directories, CANAL_P.RCU beside other entries,
// another file directly in the section, or a directory inside a directory.
Result WritePatchSection(const TNodo& section, ByteOrder order, MutableByteView slot);

// The refusal of a patch with more sections than the file has places for.
Result TooManySections(std::size_t sections, std::size_t places);

// The Pioneer and Sony patches: a file of 1 to 8 whole sections, section k at k × 64 KB, in the
// given byte order. The loader rejects other lengths with messages 0, 1 and 2; the writer lays the
// sections out in a zero-filled file of the same length.
Result LoadPlainPatch(TFirmware& firmware, Bytes file, ByteOrder order);
Result SavePlainPatch(const TFirmware& firmware, ByteOrder order, Bytes& out);

// The family of those patches whose numbers are in byte order `order`.
template <ByteOrder order>
constexpr FamilyDescriptor PlainPatchFamily() {
  return {[](TFirmware& firmware, Bytes file) { return LoadPlainPatch(firmware, std::move(file), order); },
          [](const TFirmware& firmware, const SaveOptions&, Bytes& out) {
            return SavePlainPatch(firmware, order, out);
          },
          nullptr, order};
}

}  // namespace corvane
