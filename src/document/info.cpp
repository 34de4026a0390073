#include "document/info.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "firmware/firmware.h"
#include "firmware/models.h"
#include "firmware/sizes.h"

namespace corvane {

namespace {

bool OneOf(int model, std::initializer_list<int> models) {
  for (int m : models)
    if (m == model) return true;
  return false;
}

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

InfoFigures Informacion(TFirmware& fw) {
  InfoFigures info;
  const TNodo* root = fw.Root();
  if (root == nullptr) return info;
  const int model = fw.Model;
  const std::uint64_t sections = root->ChildCount();
  const std::uint32_t files = CuentaArchivos(root);

  // Directories.
  if (IsPatchModel(model)) {
    for (const TNodo* section : root->Children())
      if (section->HasChildren() && !FirstChildIsCanal(*section))
        info.directories.used += section->ChildCount();
    fw.DirectoryCapacity = static_cast<std::uint32_t>(16 * sections);
  } else {
    info.directories.used = root->ChildCount();
  }
  info.directories.capacity = fw.DirectoryCapacity;

  // Files.
  info.files.used = files;
  if (OneOf(model, {7, 8, 11, 13, 25, 26}))
    info.files.capacity = Span(fw.AddressTableOffset, fw.FileTableOffset) / 20;
  else if (model == 24)
    info.files.capacity = Span(fw.SecondAreaEnd, fw.FileTableOffset) / 20;
  else if (model == 27)
    info.files.capacity = Span(fw.AddressTableOffset, fw.FileTableOffset) / 20 +
                          (kDynaTableBEnd - kDynaTableB) / 20;

  // Space used.
  std::uint64_t used;
  if (OneOf(model, {1, 2, 3, 10, 16, 20, 23}))
    used = EspacioUsado(*root, 3) + 20ull * FilesInSecondRegion(fw);
  else if (IsPatchModel(model))
    used = EspacioSecciones(*root);
  else if (OneOf(model, {5, 6, 9, 12, 21}))
    used = EspacioUsado(*root, 3) + 20ull * files;
  else if (model == 24)
    used = EspacioUsado(*root, 1);
  else
    used = EspacioUsado(*root, 3);
  info.space.used = used;

  // Space offered.
  const std::uint64_t first = Span(fw.TableOffset, fw.AreaStart);
  if (OneOf(model, {1, 2, 3, 10, 12, 16, 20, 22, 23})) {
    info.space.capacity = first + Span(fw.SecondAreaEnd, fw.SecondAreaStart);
  } else if (OneOf(model, {4, 15, 17, 18})) {
    info.space.capacity = 65536 * sections;
  } else if (OneOf(model, {5, 6, 9, 21})) {
    info.space.capacity = Span(fw.SecondAreaEnd, fw.AreaStart);
  } else if (OneOf(model, {7, 8, 11, 13, 24, 25, 26})) {
    info.space.capacity = first;
  } else if (model == 14) {
    info.space.capacity = 0x70000;
  } else if (model == 19) {
    fw.SecondAreaStart = fw.FileTableOffset + 20 * files;
    info.space.capacity = Span(fw.AreaEnd, fw.AreaStart) + Span(fw.SecondAreaEnd, fw.SecondAreaStart);
  } else if (model == 27) {
    info.space.capacity = first + (kDynaTableB - kDynaDataB);
  }
  return info;
}

}  // namespace corvane
