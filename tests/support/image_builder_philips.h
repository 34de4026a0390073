// Builds firmware images of the Philips families (models 7, 8, 11, 19, 25, 26, 27) from a tree
// description, straight from the on-image format (never through the program's own writers), with
// the layout fields a loader must find in them.
#pragma once

#include <cstdint>
#include <vector>

#include "support/image_builder.h"

namespace corvane::test {

struct PhilipsImageSpec {
  int model = 7;
  // second_region: Dyna's fixed second area (data from 0x1A32CC, tables from 0x1AF118), or the
  // 6071's second area after its file tables.
  std::vector<DirSpec> dirs;
  std::uint32_t capacity = 8;
  // Models with a file-table block: each directory's table is closed by 4E 71 4E 71.
  bool markers = false;
  // Erased (0xFF) entries closing the file-table block.
  std::uint32_t spare_entries = 2;
  // Flash address of image offset 0 (computed-base models: 7, 8, 11, 27); 0: the builder's choice.
  std::uint32_t base = 0;
  // 6071: the base of its file-table addresses (SecondBaseAddress).
  std::uint32_t table_base = 0xBFC40000;
  // 0: the model's length.
  std::uint32_t file_length = 0;
  // Where the directory table goes (T); 0: the builder's choice. For the 6071 the marker lies
  // 16 bytes before.
  std::uint32_t table_at = 0;
};

struct BuiltPhilipsImage {
  Bytes file;
  ImageLayout layout;
  // Image offsets where each directory's data and file table were put.
  std::vector<std::uint32_t> data_at;
  std::vector<std::uint32_t> table_at;
};

// Throws std::invalid_argument when the description cannot form a valid image of the model.
BuiltPhilipsImage BuildPhilipsImage(const PhilipsImageSpec& spec);

// The search start of the model's marker and its file length.
std::uint32_t PhilipsSearchStart(int model);
std::uint32_t PhilipsLength(int model);

inline constexpr int kPhilipsModels[] = {7, 8, 11, 19, 25, 26, 27};

}  // namespace corvane::test
