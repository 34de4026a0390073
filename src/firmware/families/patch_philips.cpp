// Philips patches (model 14): a 2 MB file whose 64 KB blocks 1 to 7 are the sections 01 to 07,
// little-endian numbers. The writer starts again from the file as read.
#include "base/message_rows.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"
#include "firmware/families/patch_sections.h"

namespace corvane {

namespace {
constexpr std::size_t kPhilipsPatchLength = 0x200000;
constexpr unsigned kPhilipsSections = 7;
}  // namespace

Result CargaParchePhilips(TFirmware& firmware, Bytes file) {
  if (file.size() != kPhilipsPatchLength)
    return Result::Rejected(Message::FromRow(rows::kBadLength));
  firmware.FileSize = static_cast<std::uint32_t>(file.size());
  firmware.ImageSize = firmware.FileSize;
  firmware.Image = std::move(file);
  std::vector<SectionPlace> places;
  for (unsigned k = 1; k <= kPhilipsSections; ++k) places.push_back({k, k * kPatchSectionSize});
  FillPatchTree(firmware, firmware.Image, places, ByteOrder::Little);
  return Result::Ok();
}

Result GuardaParchePhilips(const TFirmware& firmware, const SaveOptions&, Bytes& out) {
  const TNodo* root = firmware.Root();
  if (root == nullptr) return Result::Refused(Message::FromRow(rows::kNoPatchOpen));
  if (root->ChildCount() > kPhilipsSections)
    return TooManySections(root->ChildCount(), kPhilipsSections);
  out = firmware.Image;
  out.resize(kPhilipsPatchLength, 0);
  MutableByteView(out).Fill(kPatchSectionSize, kPhilipsSections * kPatchSectionSize, 0);
  for (std::size_t k = 0; k < root->ChildCount(); ++k) {
    Result r =
        WritePatchSection(*root->Child(k), ByteOrder::Little,
                          MutableByteView(out.data() + (k + 1) * kPatchSectionSize, kPatchSectionSize));
    if (!r) return r;
  }
  return Result::Ok();
}

const FamilyDescriptor kPatchPhilipsFamily{CargaParchePhilips, GuardaParchePhilips, nullptr, ByteOrder::Little};

}  // namespace corvane
