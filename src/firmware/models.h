// The receiver-model table: one descriptor per model, in model order (the open dialog's filter
// index is the model number).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

class TFirmware;
struct SaveOptions;

enum class ModelKind { Firmware, Patch };

enum class Family {
  Pioneer,
  Strong,
  Nokia,
  Asscom,
  SonyTS1A,
  SonyTS2,
  Philips,
  PhilipsD,
  Dyna,
  Philips6071,
  PatchPioneer,
  PatchPhilips,
  PatchSony,
  PatchStrong,
};

// Where the image keeps its fonts: not at all, or in little- or big-endian font tables.
enum class FontForm { None, LittleEndian, BigEndian };

// A loader takes the whole file as read and fills the firmware's tree and layout fields.
using LoadFn = Result (*)(TFirmware& firmware, Bytes file);
// A writer builds the whole output file in memory from the tree; it never writes to disk.
using SaveFn = Result (*)(TFirmware& firmware, const SaveOptions& options, Bytes& out);

// The loader's arguments, as the table gives them.
struct LoaderArgs {
  std::uint8_t blocks = 0;         // Strong: blocks of flash area 1
  std::uint8_t second_blocks = 0;  // Strong: blocks of flash area 2
  std::uint32_t first = 0;   // Strong, Pioneer, Nokia: search start; Philips families: length
  std::uint32_t second = 0;  // Philips families: search start
};

struct ModelDescriptor {
  int model;
  int save_filter_row;  // message row of the save dialog's filter (also the model's name)
  std::string_view extension;
  ModelKind kind;
  Family family;
  std::string_view loader_name;
  std::string_view writer_name;
  LoadFn loader;
  SaveFn writer;
  LoaderArgs args;
  // Settings that TFirmware::Create stores before it calls the loader.
  std::uint32_t base_address;
  std::uint32_t second_base_address;
  std::uint32_t crc_offset;
  std::uint8_t crc_blocks;
  FontForm fonts;
};

inline constexpr int kModelCount = 27;

// The descriptor of a model 1..27, or nullptr.
const ModelDescriptor* FindModel(int model);
const std::array<ModelDescriptor, kModelCount>& AllModels();

inline bool IsPatchModel(int model) {
  const ModelDescriptor* d = FindModel(model);
  return d != nullptr && d->kind == ModelKind::Patch;
}

// The name of a model: its save-filter text before "|" (built-in Spanish texts).
std::string_view ModelName(int model);

}  // namespace corvane
