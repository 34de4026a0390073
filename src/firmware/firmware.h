// The opened firmware image or patch (TFirmware) and saving it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/bytes.h"
#include "base/result.h"
#include "firmware/families/strong_blocks.h"
#include "firmware/tree.h"

namespace corvane {

class ImageFonts;

// What a writer needs beyond the firmware itself.
struct SaveOptions {
  // "Usar archivos externos": the fonts come from external files and the image's font area is left
  // untouched.
  bool use_external_fonts = true;
  // The font set to write back into the image's font tables (used when use_external_fonts is off).
  const ImageFonts* fonts = nullptr;
};

class TFirmware {
 public:
  TFirmware() = default;
  TFirmware(const TFirmware&) = delete;
  TFirmware& operator=(const TFirmware&) = delete;

  // Reads the file and fills `tree` with the model's loader. The tree must outlive the firmware.
  // Returns the loader's result; Loaded tells the same. A model outside 1..27 is rejected.
  Result Create(const std::filesystem::path& file_name, TArbol& tree, int model);
  // The same over bytes already read (file_name names the file for RootName).
  Result CreateFromBytes(const std::filesystem::path& file_name, Bytes file, TArbol& tree, int model);

  // Builds the whole output with the model's writer, in memory.
  Result Build(const SaveOptions& options, Bytes& out) const;
  // Where `out` (a built image) would not load back as the current tree with this model's loader:
  // the path of the first differing node ("/" when it does not load at all); nullopt when equal.
  std::optional<std::string> ReadBackDifference(const Bytes& out) const;
  // The same over bytes handed over to the check, which reads them in place: `out` is left holding
  // a buffer of no particular contents, for building into again.
  std::optional<std::string> ReadBackDifferenceOf(Bytes& out) const;
  // Builds the output, checks that it reads back as the same tree, and writes it to `destination`
  // atomically (temporary file + rename). On any refusal or failure nothing is written and an
  // existing destination stays untouched.
  Result GuardaFirmware(const std::filesystem::path& destination, const SaveOptions& options) const;

  std::uint8_t Model = 0;
  bool Loaded = false;
  std::filesystem::path FileName;
  std::string RootName;  // FileName without its folder; the text of the root node
  TArbol* Tree = nullptr;

  StrongFileLayout Blocks;  // block files: what of the file the image does not hold
  std::uint32_t FileSize = 0;
  Bytes Image;  // the flash image holding the file system
  std::uint32_t ImageSize = 0;

  std::uint32_t BaseAddress = 0;
  std::uint32_t SecondBaseAddress = 0;
  std::uint8_t BlockCount = 0;
  std::uint8_t SecondBlockCount = 0;
  std::uint32_t CrcOffset = 0;
  std::uint8_t CrcBlocks = 0;
  std::uint32_t TableOffset = 0;
  std::uint32_t DirectoryCount = 0;
  std::uint32_t DirectoryCapacity = 0;
  std::uint32_t FileTableOffset = 0;
  std::uint32_t AddressTableOffset = 0;
  std::uint32_t AreaStart = 0;
  std::uint32_t AreaEnd = 0;
  std::uint32_t SecondAreaStart = 0;
  std::uint32_t SecondAreaEnd = 0;

  // Set by the loader when the image's own fonts cannot be used (a Strong 8000 image without its
  // second flash area): the caller ticks "Usar archivos externos" and disables the font commands.
  bool ForceExternalFonts = false;

  TNodo* Root() const { return Tree ? Tree->Root() : nullptr; }

 private:
  void ApplyModelSettings(int model);
};

}  // namespace corvane
