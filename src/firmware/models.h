// The receiver-model table: one row per model, in model order (the open dialog's filter index is
// the model number), each row naming its family and carrying every setting of its own. What a
// family's models share is its family descriptor (families/families.h, one file per family).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

class TFirmware;
struct SaveOptions;

namespace dirtable {
struct TableShape;
}

enum class ModelKind { Firmware, Patch };

// A loader takes the whole file as read and fills the firmware's tree and layout fields.
using LoadFn = Result (*)(TFirmware& firmware, Bytes file);
// A writer builds the whole output file in memory from the tree; it never writes to disk.
using SaveFn = Result (*)(const TFirmware& firmware, const SaveOptions& options, Bytes& out);

// What every model of one family shares.
struct FamilyDescriptor {
  LoadFn loader;
  SaveFn writer;
  // The directory-table shape whose addresses model detection weighs (nullptr: none).
  const dirtable::TableShape* detection_shape;
  // The byte order of the font tables, for the models that keep fonts in the image.
  ByteOrder font_order;
};

// The loader's arguments, as the table gives them.
struct LoaderArgs {
  std::uint8_t blocks = 0;         // Strong: blocks of flash area 1
  std::uint8_t second_blocks = 0;  // Strong: blocks of flash area 2
  std::uint32_t first = 0;   // Strong, Pioneer, Nokia: search start; Philips families: length
  std::uint32_t second = 0;  // Philips families: search start
};

// A file length a loader accepts: min..max inclusive (max 0: none).
struct LengthRange {
  std::uint32_t min = 0;
  std::uint32_t max = 0;
  constexpr bool Holds(std::uint64_t length) const { return max != 0 && length >= min && length <= max; }
};

// How the information window counts a model's files, space used and space offered.
enum class FileCapacity { Unknown, FileTableBlock, UpToSecondAreaEnd, FileTableBlockAndDynaSecond };
// Data: each directory's files rounded up to 4 bytes (DataEven: to 2 bytes); Entries: 20 bytes a file.
enum class SpaceUsed { Data, DataEven, DataAndSecondRegionEntries, DataAndEntries, Sections };
enum class SpaceOffered {
  FirstRegion,        // the directory table's offset less the data area's start
  BothRegions,        // region 1 plus the second data area
  FlashArea,          // the second data area's end less the data area's start
  Sections,           // 64 KB per section
  PhilipsPatch,       // a fixed 0x70000 bytes
  Philips6071Areas,   // both areas, the second after the grown file tables
  DynaAreas,          // region 1 plus the Dyna image's second data area
};

struct ModelDescriptor {
  int model;
  int save_filter_row;  // message row of the save dialog's filter (also the model's name)
  std::string_view extension;
  ModelKind kind;
  const FamilyDescriptor* family;
  LoaderArgs args = {};
  // Settings that TFirmware::Create stores before it calls the loader.
  std::uint32_t base_address = 0;
  std::uint32_t second_base_address = 0;
  std::uint32_t crc_offset = 0;  // block checksum table (0: none)
  std::uint8_t crc_blocks = 0;
  bool fonts_in_image = false;   // the image keeps its fonts (in the family's byte order)
  bool comparable = false;       // offered by the comparison window
  // Settings of one model within its family.
  std::array<LengthRange, 2> lengths = {};  // Pioneer: the file lengths the loader accepts
  std::uint32_t second_crc_table = 0;  // Pioneer: a second copy of the checksums this far on
  bool ts6_marker = false;       // Pioneer: the image must carry "/TS6/" (unless it is short)
  bool compact_layout = false;   // Pioneer: no file-table block; data past the table moves low
  bool second_region = false;    // Nokia, Strong: directories may move to a second data region
  bool fonts_need_second_area = false;  // Strong: fonts unusable when flash area 2 is missing
  std::uint8_t blocks_put_back = 0;     // Strong: records written back into the block file
  // The information window's rules.
  FileCapacity file_capacity = FileCapacity::Unknown;
  SpaceUsed space_used = SpaceUsed::Data;
  SpaceOffered space_offered = SpaceOffered::FirstRegion;
};

inline constexpr int kModelCount = 27;

// The descriptor of a model 1..27, or nullptr.
const ModelDescriptor* FindModel(int model);
const std::array<ModelDescriptor, kModelCount>& AllModels();

inline bool IsPatchModel(int model) {
  const ModelDescriptor* d = FindModel(model);
  return d != nullptr && d->kind == ModelKind::Patch;
}

// Whether the model's image keeps fonts that the font editor and font lists work on.
inline bool IsFontModel(int model) {
  const ModelDescriptor* d = FindModel(model);
  return d != nullptr && d->fonts_in_image;
}

// The models the comparison window offers, in its list order.
std::vector<int> ComparableModels();

// The name of a model: its save-filter text before "|" (built-in Spanish texts).
std::string_view ModelName(int model);

}  // namespace corvane
