#include "document/info.h"

#include <cmath>
#include <cstdio>

#include "firmware/firmware.h"
#include "firmware/models.h"
#include "firmware/sizes.h"

namespace corvane {

namespace {

// a - b, or 0 when the fields make no sense (b above a).
std::uint64_t Span(std::uint32_t a, std::uint32_t b) { return a > b ? std::uint64_t{a} - b : 0; }

// The Dyna image keeps a second data area and a second file-table area at fixed places.
constexpr std::uint32_t kDynaDataB = 0x1A32CC;
constexpr std::uint32_t kDynaTableB = 0x1AF118;
constexpr std::uint32_t kDynaTableBEnd = 0x1AFFFF;

}  // namespace

double InfoFigure::Percent() const {
  if (!capacity || *capacity == 0) return 0.0;
  return static_cast<double>(used) / static_cast<double>(*capacity) * 100.0;
}

int InfoFigure::Pie() const { return static_cast<int>(std::lround(Percent())); }

std::string InfoFigure::Text() const {
  if (!capacity) return std::to_string(used) + " / ???";
  return std::to_string(used) + " / " + std::to_string(*capacity) + "  (" +
         FormatPercent(Percent()) + "%)";
}

std::string FormatPercent(double percent) {
  double value = percent;
  if (value != 0.0 && std::isfinite(value)) {
    const int digits = static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
    if (digits > 3) {  // fewer than two decimals remain of five significant digits
      const double unit = std::pow(10.0, digits - 5);
      value = std::round(value / unit) * unit;
    }
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  return buffer;
}

std::uint32_t FilesInSecondRegion(const TFirmware& firmware) {
  const TNodo* root = firmware.Root();
  if (root == nullptr) return 0;
  const std::uint64_t room = Span(firmware.TableOffset, firmware.AreaStart);
  std::uint64_t data = 0;
  std::uint64_t files = 0;
  bool second = false;
  std::uint32_t count = 0;
  for (const TNodo* dir : root->Children()) {
    if (!second) {
      data += SumaTamanos(*dir, 3);
      files += dir->ChildCount();
      second = data > room ||
               std::uint64_t{firmware.FileTableOffset} + 20 * files > firmware.AddressTableOffset;
    }
    if (second) count += static_cast<std::uint32_t>(dir->ChildCount());
  }
  return count;
}

InfoFigures Informacion(const TFirmware& fw) {
  InfoFigures info;
  const TNodo* root = fw.Root();
  const ModelDescriptor* model = FindModel(fw.Model);
  if (root == nullptr || model == nullptr) return info;
  const std::uint64_t sections = root->ChildCount();
  const std::uint32_t files = CuentaArchivos(root);

  // Directories: a patch section holds up to 16.
  if (model->kind == ModelKind::Patch) {
    for (const TNodo* section : root->Children())
      if (section->HasChildren() && !FirstChildIsCanal(*section))
        info.directories.used += section->ChildCount();
    info.directories.capacity = 16 * sections;
  } else {
    info.directories.used = root->ChildCount();
    info.directories.capacity = fw.DirectoryCapacity;
  }

  // Files.
  info.files.used = files;
  const std::uint64_t file_table_block = Span(fw.AddressTableOffset, fw.FileTableOffset) / 20;
  switch (model->file_capacity) {
    case FileCapacity::Unknown:
      break;
    case FileCapacity::FileTableBlock:
      info.files.capacity = file_table_block;
      break;
    case FileCapacity::UpToSecondAreaEnd:
      info.files.capacity = Span(fw.SecondAreaEnd, fw.FileTableOffset) / 20;
      break;
    case FileCapacity::FileTableBlockAndDynaSecond:
      info.files.capacity = file_table_block + (kDynaTableBEnd - kDynaTableB) / 20;
      break;
  }

  // Space used.
  switch (model->space_used) {
    case SpaceUsed::Data:
      info.space.used = EspacioUsado(*root, 3);
      break;
    case SpaceUsed::DataEven:
      info.space.used = EspacioUsado(*root, 1);
      break;
    case SpaceUsed::DataAndSecondRegionEntries:
      info.space.used = EspacioUsado(*root, 3) + 20ull * FilesInSecondRegion(fw);
      break;
    case SpaceUsed::DataAndEntries:
      info.space.used = EspacioUsado(*root, 3) + 20ull * files;
      break;
    case SpaceUsed::Sections:
      info.space.used = EspacioSecciones(*root);
      break;
  }

  // Space offered.
  const std::uint64_t first = Span(fw.TableOffset, fw.AreaStart);
  switch (model->space_offered) {
    case SpaceOffered::FirstRegion:
      info.space.capacity = first;
      break;
    case SpaceOffered::BothRegions:
      info.space.capacity = first + Span(fw.SecondAreaEnd, fw.SecondAreaStart);
      break;
    case SpaceOffered::FlashArea:
      info.space.capacity = Span(fw.SecondAreaEnd, fw.AreaStart);
      break;
    case SpaceOffered::Sections:
      info.space.capacity = kPatchSectionSize * sections;
      break;
    case SpaceOffered::PhilipsPatch:
      info.space.capacity = 0x70000;
      break;
    case SpaceOffered::Philips6071Areas: {
      // The second area begins after the file tables, which grow with the files.
      const std::uint32_t second_start = fw.FileTableOffset + 20 * files;
      info.space.capacity = Span(fw.AreaEnd, fw.AreaStart) + Span(fw.SecondAreaEnd, second_start);
      break;
    }
    case SpaceOffered::DynaAreas:
      info.space.capacity = first + (kDynaTableB - kDynaDataB);
      break;
  }
  return info;
}

}  // namespace corvane
