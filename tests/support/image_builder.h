// Builds firmware images of the directory-table models from a tree description, straight from the
// on-image format (never through the program's own writers), with the layout fields a loader must
// find in them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace corvane::test {

struct FileSpec {
  std::string name;
  Bytes data;
};

struct DirSpec {
  std::string name;
  std::vector<FileSpec> files;
  bool second_region = false;  // placed in the second region (after the first file tables)
};

struct ImageSpec {
  int model = 1;
  std::vector<DirSpec> dirs;
  std::uint32_t capacity = 8;
  // File-table block: each entry followed by 4E 71 4E 71.
  bool markers = false;
  // 0: the model's usual length (Pioneer family: any length its size rule accepts).
  std::uint32_t file_length = 0;
  // Writes "/TS6/" into the code area (Pioneer family): 1 yes, 0 no, -1 as the model needs it.
  int ts6 = -1;
  // Free 0xFF entries closing the file-table block (room for more entries).
  std::uint32_t spare_entries = 2;
  // A run of 0xFF bytes (second free region of one-region images); length 0: none.
  std::uint32_t free_run_at = 0;
  std::uint32_t free_run_length = 0;
  // Strong block files: record order (a permutation of the record numbers; empty: ascending),
  // and leaving out the records of flash area 2.
  std::vector<int> record_order;
  bool omit_area2 = false;
  // Called with the finished flash image before checksums and Strong records are made (font
  // tables and other contents outside the file system).
  std::function<void(Bytes& image)> extra;
};

// The layout fields the loader should find (the fields of TFirmware of the same names).
struct ImageLayout {
  std::uint32_t TableOffset = 0;
  std::uint32_t DirectoryCount = 0;
  std::uint32_t DirectoryCapacity = 0;
  std::uint32_t FileTableOffset = 0;
  std::uint32_t AddressTableOffset = 0;
  std::uint32_t AreaStart = 0;
  std::uint32_t AreaEnd = 0;
  std::uint32_t SecondAreaStart = 0;
  std::uint32_t SecondAreaEnd = 0;
  std::uint32_t FileSize = 0;
  std::uint32_t ImageSize = 0;
  std::uint32_t BaseAddress = 0;
  std::uint32_t SecondBaseAddress = 0;
  bool operator==(const ImageLayout&) const = default;
};

struct BuiltImage {
  Bytes file;   // what goes to disk
  Bytes image;  // the flash image (the file itself, or the assembled Strong blocks)
  ImageLayout layout;
};

// Throws std::invalid_argument when the description cannot form a valid image of the model.
BuiltImage BuildImage(const ImageSpec& spec);

// The default tree: "boot" with three files, "main" with two, an empty "void".
std::vector<DirSpec> SampleTree(bool with_second_region = false);
// Deterministic file bytes of the given length.
Bytes PatternBytes(std::size_t length, std::uint8_t seed);
// Standard reflected CRC-32, computed bit by bit.
std::uint32_t ReferenceCrc32(const Bytes& data, std::size_t start, std::size_t length);

// The directory-table models these images cover.
inline constexpr int kDirectoryTableModels[] = {1,  2,  3,  5,  6,  9,  10, 12,
                                                13, 16, 20, 21, 22, 23, 24};

}  // namespace corvane::test
