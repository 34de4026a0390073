// Strong patches (models 17, 18): a Strong block file whose blocks 0 to 6 (from the model's base
// address) are the sections 00 to 06, big-endian numbers. Only the blocks found get a section;
// the writer puts the rebuilt blocks back into the records they came from.
#include <algorithm>
#include <array>

#include "base/message_rows.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"
#include "firmware/families/patch_sections.h"
#include "firmware/families/strong_blocks.h"

namespace corvane {

namespace {

constexpr unsigned kStrongPatchBlocks = 7;

std::uint32_t BlockAddress(const TFirmware& firmware, std::size_t block) {
  return firmware.BaseAddress + kStrongAddressOffset +
         static_cast<std::uint32_t>(block * kBlockSize);
}

// "NAME": and the message row saying why the section cannot be written back.
Result RefuseSection(const TNodo& section, int why) {
  return Result::Refused(Message().Text("\"" + TextFromName(section.Text) + "\": ").Row(why));
}

}  // namespace

Result CargaParcheStrong(TFirmware& firmware, Bytes file) {
  firmware.FileSize = static_cast<std::uint32_t>(file.size());
  firmware.ImageSize = kStrongPatchBlocks * kBlockSize;
  std::vector<StrongImageBlock> blocks;
  for (unsigned i = 0; i < kStrongPatchBlocks; ++i) blocks.push_back({BlockAddress(firmware, i), true});
  std::vector<bool> found;
  firmware.Blocks = StrongFileToImage(file, blocks, found);
  std::vector<SectionPlace> places;
  for (unsigned i = 0; i < kStrongPatchBlocks; ++i)
    if (found[i]) places.push_back({i, i * kBlockSize});
  if (places.empty()) return Result::Rejected(Message::FromRow(rows::kMissingBlocks));
  // The writer rebuilds the blocks from the tree alone: the image is not kept.
  FillPatchTree(firmware, file, places, ByteOrder::Big);
  return Result::Ok();
}

Result GuardaParcheStrong(const TFirmware& firmware, const SaveOptions&, Bytes& out) {
  const TNodo* root = firmware.Root();
  if (root == nullptr) return Result::Refused(Message::FromRow(rows::kNoPatchOpen));
  out.reserve(std::max(kStrongPatchBlocks * kBlockSize, firmware.Blocks.size()));
  out.assign(kStrongPatchBlocks * kBlockSize, 0);
  std::array<bool, kStrongPatchBlocks> used{};
  for (const TNodo* section : root->Children()) {
    const std::int64_t number = SectionNumber(section->Text);
    if (number < 0 || number >= kStrongPatchBlocks)
      return RefuseSection(*section, rows::kStrongSectionNumber);
    const auto block = static_cast<std::size_t>(number);
    if (used[block]) return RefuseSection(*section, rows::kSectionNumberTwice);
    used[block] = true;
    // A section must go back into a block of the file, or its contents would be lost.
    if (!firmware.Blocks.WritesBlock(block)) return RefuseSection(*section, rows::kNoBlockForSection);
    Result r = WritePatchSection(*section, ByteOrder::Big,
                                 MutableByteView(out.data() + block * kBlockSize, kBlockSize));
    if (!r) return r;
  }
  StrongImageToFile(out, firmware.Blocks);
  return Result::Ok();
}

const FamilyDescriptor kPatchStrongFamily{CargaParcheStrong, GuardaParcheStrong, nullptr, ByteOrder::Big};

}  // namespace corvane
