// Builds patch files of every patch model from a small description, independently of the
// program's own patch writers, and describes trees as text for comparisons.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/bytes.h"
#include "firmware/tree.h"

namespace corvane::test {

enum class Endian { Little, Big };

struct PatchFileSpec {
  std::string name;
  Bytes data;
};

struct PatchDirSpec {
  std::string name;
  std::vector<PatchFileSpec> files;
};

struct PatchSectionSpec {
  std::vector<PatchDirSpec> dirs;
  // When set, the section is this CANAL_P.RCU file alone (its bytes should start with "ucr").
  std::optional<Bytes> canal;
  // Extra zero bytes left between consecutive directory records (0: the records touch).
  std::size_t record_gap = 0;
};

inline constexpr std::size_t kPatchSection = 0x10000;
inline constexpr std::uint32_t kStrong8000PatchBase = 0x9FC90000;  // model 17
inline constexpr std::uint32_t kStrong8100PatchBase = 0x940F0000;  // model 18

// prefix + the decimal number (built by appending: GCC 12 at -O3 warns falsely about
// literal + std::string).
std::string Numbered(std::string_view prefix, std::size_t number);

// A file of `size` bytes whose contents depend on `seed` (no NUL-free guarantee).
Bytes Pattern(std::size_t size, unsigned seed);
// A CANAL_P.RCU file: "ucr", filler, then "patch.dbg" and its NUL as the last ten bytes.
Bytes CanalFile(std::size_t size, unsigned seed);

// Sample sections: `dirs` directories of three files each (their names and sizes vary with the
// seed); a CANAL_P.RCU file of `size` bytes; one directory whose bytes end at 65535, the last
// byte a section may hold.
PatchSectionSpec SampleSection(unsigned seed, std::size_t dirs = 2);
PatchSectionSpec CanalSection(std::size_t size);
PatchSectionSpec FullSection(unsigned seed);

// One section of 64 KB: the 16-slot offset table, the directory records from byte 32.
Bytes PatchSectionBytes(const PatchSectionSpec& section, Endian endian);

// Pioneer (little-endian) or Sony (big-endian) patch: section k at k × 64 KB in a zero-filled file
// of `length` bytes (0: one section for each description given).
Bytes PlainPatch(const std::vector<PatchSectionSpec>& sections, Endian endian,
                 std::size_t length = 0);

// Philips patch: 2 MB; sections[k] in block k + 1 (at most 7); block 0 and everything from 0x80000
// on hold a fixed pattern.
Bytes PhilipsPatch(const std::vector<PatchSectionSpec>& sections);

// One Strong block-file record: 4 header bytes, big-endian address, 64 KB (or fewer) of data.
struct StrongRecordSpec {
  std::uint32_t address;
  Bytes data;  // at most 64 KB; shorter data is padded with zeros
};
// The records one after the other; `cut` > 0 drops that many bytes from the end of the file.
Bytes StrongBlockFile(const std::vector<StrongRecordSpec>& records, std::size_t cut = 0);
// The record of patch block `block` of a Strong patch with base address `base`.
StrongRecordSpec StrongPatchRecord(std::uint32_t base, unsigned block,
                                   const PatchSectionSpec& section);

// A text listing of the tree: one line per node, indented by level, with each file's size and a
// digest of its bytes.
std::string DescribeTree(const TArbol& tree);
// The listing a patch tree with these sections should give: root name, then per section the
// node "Secci\xF3n-" + two capital hex digits of its number and its contents.
std::string DescribePatch(const std::string& root_name,
                          const std::vector<std::pair<unsigned, PatchSectionSpec>>& sections);

}  // namespace corvane::test
