#include "firmware/models.h"

#include "base/messages.h"
#include "firmware/families/families.h"

namespace corvane {

namespace {

constexpr ModelKind F = ModelKind::Firmware;
constexpr ModelKind P = ModelKind::Patch;
using FC = FileCapacity;
using SU = SpaceUsed;
using SO = SpaceOffered;

constexpr LengthRange Exactly(std::uint32_t length) { return {length, length}; }

constexpr std::array<ModelDescriptor, kModelCount> kModels = {{
    {.model = 1, .save_filter_row = 21, .extension = "rcu", .kind = F, .family = &kPioneerFamily,
     .base_address = 0x7FE00000, .fonts_in_image = true, .comparable = true,
     .lengths = {Exactly(0x180000)},
     .space_used = SU::DataAndSecondRegionEntries, .space_offered = SO::BothRegions},
    {.model = 2, .save_filter_row = 22, .extension = "bin", .kind = F, .family = &kPioneerFamily,
     .base_address = 0x60000000, .crc_offset = 0x13FC00, .crc_blocks = 20,
     .fonts_in_image = true, .comparable = true, .lengths = {Exactly(0x180000)},
     .space_used = SU::DataAndSecondRegionEntries, .space_offered = SO::BothRegions},
    {.model = 3, .save_filter_row = 23, .extension = "bin", .kind = F, .family = &kPioneerFamily,
     .base_address = 0x7FE00000, .crc_offset = 0x11FC00, .crc_blocks = 18,
     .fonts_in_image = true, .comparable = true, .lengths = {LengthRange{0x11FC80, 0x180000}},
     .ts6_marker = true,
     .space_used = SU::DataAndSecondRegionEntries, .space_offered = SO::BothRegions},
    {.model = 4, .save_filter_row = 24, .extension = "rsc", .kind = P,
     .family = &kPatchPioneerFamily, .space_used = SU::Sections, .space_offered = SO::Sections},
    {.model = 5, .save_filter_row = 221, .extension = "bin", .kind = F, .family = &kStrongFamily,
     .args = {16, 9, 0x10000, 0x0}, .base_address = 0x81200000, .second_base_address = 0x9FC00000,
     .fonts_in_image = true, .comparable = true, .fonts_need_second_area = true,
     .blocks_put_back = 16, .space_used = SU::DataAndEntries, .space_offered = SO::FlashArea},
    {.model = 6, .save_filter_row = 222, .extension = "bin", .kind = F, .family = &kStrongFamily,
     .args = {64, 0, 0x160000, 0x0}, .base_address = 0x94020000, .fonts_in_image = true,
     .comparable = true, .second_region = true,
     .blocks_put_back = 63,  // the 64th record is left as it was read
     .space_used = SU::DataAndEntries, .space_offered = SO::FlashArea},
    {.model = 7, .save_filter_row = 233, .extension = "bin", .kind = F, .family = &kPhilipsFamily,
     .args = {0, 0, 0x180000, 0x10000}, .comparable = true,
     .file_capacity = FC::FileTableBlock},
    {.model = 8, .save_filter_row = 234, .extension = "bin", .kind = F, .family = &kPhilipsFamily,
     .args = {0, 0, 0x200000, 0x90000}, .comparable = true,
     .file_capacity = FC::FileTableBlock},
    {.model = 9, .save_filter_row = 235, .extension = "bin", .kind = F, .family = &kAsscomFamily,
     .args = {0, 0, 0x100000, 0x0}, .base_address = 0x9FC10000, .fonts_in_image = true,
     .comparable = true, .space_used = SU::DataAndEntries, .space_offered = SO::FlashArea},
    {.model = 10, .save_filter_row = 237, .extension = "bin", .kind = F, .family = &kPioneerFamily,
     .base_address = 0x7FE00000, .fonts_in_image = true, .comparable = true,
     .lengths = {Exactly(0x200000), Exactly(0x180000)},
     .space_used = SU::DataAndSecondRegionEntries, .space_offered = SO::BothRegions},
    {.model = 11, .save_filter_row = 238, .extension = "bin", .kind = F, .family = &kPhilipsFamily,
     .args = {0, 0, 0x200000, 0x30000}, .comparable = true,
     .file_capacity = FC::FileTableBlock},
    {.model = 12, .save_filter_row = 244, .extension = "bin", .kind = F, .family = &kPioneerFamily,
     .args = {0, 0, 0xC0000, 0x0}, .base_address = 0x7FF00000, .comparable = true,
     .lengths = {Exactly(0x100000)}, .compact_layout = true,
     .space_used = SU::DataAndEntries, .space_offered = SO::BothRegions},
    {.model = 13, .save_filter_row = 279, .extension = "bin", .kind = F, .family = &kNokiaFamily,
     .args = {0, 0, 0xC0000, 0x0}, .base_address = 0x2C020000, .fonts_in_image = true,
     .comparable = true, .file_capacity = FC::FileTableBlock},
    {.model = 14, .save_filter_row = 284, .extension = "bin", .kind = P,
     .family = &kPatchPhilipsFamily, .space_used = SU::Sections,
     .space_offered = SO::PhilipsPatch},
    {.model = 15, .save_filter_row = 285, .extension = "bin", .kind = P,
     .family = &kPatchSonyFamily, .space_used = SU::Sections, .space_offered = SO::Sections},
    {.model = 16, .save_filter_row = 286, .extension = "bin", .kind = F, .family = &kSonyTS1AFamily,
     .args = {0, 0, 0x100000, 0x0}, .base_address = 0x02000000, .fonts_in_image = true,
     .comparable = true,
     .space_used = SU::DataAndSecondRegionEntries, .space_offered = SO::BothRegions},
    {.model = 17, .save_filter_row = 287, .extension = "bin", .kind = P,
     .family = &kPatchStrongFamily, .args = {7, 0, 0x0, 0x0}, .base_address = 0x9FC90000,
     .space_used = SU::Sections, .space_offered = SO::Sections},
    {.model = 18, .save_filter_row = 288, .extension = "bin", .kind = P,
     .family = &kPatchStrongFamily, .args = {7, 0, 0x0, 0x0}, .base_address = 0x940F0000,
     .space_used = SU::Sections, .space_offered = SO::Sections},
    {.model = 19, .save_filter_row = 289, .extension = "bin", .kind = F,
     .family = &kPhilips6071Family, .args = {0, 0, 0x200000, 0x100000},
     .base_address = 0x7FE00000, .comparable = true, .space_offered = SO::Philips6071Areas},
    {.model = 20, .save_filter_row = 290, .extension = "bin", .kind = F, .family = &kPioneerFamily,
     .args = {0, 0, 0x10000, 0x0}, .base_address = 0x7FF00000, .fonts_in_image = true,
     .comparable = true, .lengths = {Exactly(0x100000)},
     .space_used = SU::DataAndSecondRegionEntries, .space_offered = SO::BothRegions},
    {.model = 21, .save_filter_row = 291, .extension = "bin", .kind = F, .family = &kStrongFamily,
     .args = {32, 16, 0x10000, 0x0}, .base_address = 0x81200000,
     .second_base_address = 0x9FC00000, .fonts_in_image = true, .comparable = true,
     .blocks_put_back = 32, .space_used = SU::DataAndEntries, .space_offered = SO::FlashArea},
    {.model = 22, .save_filter_row = 327, .extension = "bin", .kind = F, .family = &kPioneerFamily,
     .base_address = 0x7FE00000, .crc_offset = 0x12FC00, .crc_blocks = 19,
     .fonts_in_image = true, .comparable = true, .lengths = {LengthRange{0x14FC8C, 0x180000}},
     .second_crc_table = 0x2000C, .space_offered = SO::BothRegions},
    {.model = 23, .save_filter_row = 328, .extension = "bin", .kind = F, .family = &kNokiaFamily,
     .args = {0, 0, 0xC0000, 0x0}, .base_address = 0x2C020000, .fonts_in_image = true,
     .comparable = true, .second_region = true,
     .space_used = SU::DataAndSecondRegionEntries, .space_offered = SO::BothRegions},
    {.model = 24, .save_filter_row = 340, .extension = "bin", .kind = F, .family = &kSonyTS2Family,
     .base_address = 0x00C00000, .file_capacity = FC::UpToSecondAreaEnd,
     .space_used = SU::DataEven},
    {.model = 25, .save_filter_row = 351, .extension = "bin", .kind = F, .family = &kPhilipsDFamily,
     .args = {0, 0, 0x100000, 0x45000}, .comparable = true,
     .file_capacity = FC::FileTableBlock},
    {.model = 26, .save_filter_row = 352, .extension = "bin", .kind = F, .family = &kPhilipsDFamily,
     .args = {0, 0, 0x100000, 0x90000}, .comparable = true,
     .file_capacity = FC::FileTableBlock},
    {.model = 27, .save_filter_row = 353, .extension = "bin", .kind = F, .family = &kDynaFamily,
     .args = {0, 0, 0x200000, 0x90000}, .comparable = true,
     .file_capacity = FC::FileTableBlockAndDynaSecond, .space_offered = SO::DynaAreas},
}};

}  // namespace

const std::array<ModelDescriptor, kModelCount>& AllModels() { return kModels; }

const ModelDescriptor* FindModel(int model) {
  if (model < 1 || model > kModelCount) return nullptr;
  return &kModels[static_cast<std::size_t>(model - 1)];
}

std::vector<int> ComparableModels() {
  std::vector<int> models;
  for (const ModelDescriptor& d : kModels)
    if (d.comparable) models.push_back(d.model);
  return models;
}

std::string_view ModelName(int model) {
  const ModelDescriptor* d = FindModel(model);
  if (d == nullptr) return {};
  const std::string_view row = DefaultMessages()[static_cast<std::size_t>(d->save_filter_row)];
  return row.substr(0, row.find('|'));
}

}  // namespace corvane
