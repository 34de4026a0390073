// Strong 8000, 8100 and 8000 CONAX firmware (models 5, 6, 21): a block file whose 64 KB records
// are assembled into the flash image; big-endian directory table with 32-byte records and no
// file-table block.
#include <algorithm>
#include <vector>

#include "base/large_buffer.h"
#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"
#include "firmware/new_node.h"
#include "firmware/families/strong_blocks.h"

namespace corvane {

namespace dt = dirtable;

namespace {

std::uint32_t BlockAddress(std::uint32_t base, std::uint32_t i) {
  return base + kStrongAddressOffset + i * static_cast<std::uint32_t>(kBlockSize);
}

// The image blocks in order: flash area 1, then area 2 when the model has one. Area 1's blocks
// from `put_back` on keep in the block file the data they were read with.
std::vector<StrongImageBlock> ImageBlocks(const TFirmware& fw, std::uint32_t put_back) {
  std::vector<StrongImageBlock> blocks;
  for (std::uint32_t i = 0; i < fw.BlockCount; ++i)
    blocks.push_back({BlockAddress(fw.BaseAddress, i), i < put_back});
  if (fw.SecondBaseAddress != 0)
    for (std::uint32_t i = 0; i < fw.SecondBlockCount; ++i)
      blocks.push_back({BlockAddress(fw.SecondBaseAddress, i), true});
  return blocks;
}

}  // namespace

Result CargaStrong(TFirmware& fw, Bytes file) {
  const ModelDescriptor& model = *FindModel(fw.Model);
  const LoaderArgs args = model.args;
  fw.BlockCount = args.blocks;
  fw.SecondBlockCount = args.second_blocks;
  fw.FileSize = dt::ToField(file.size());

  // The file becomes the image in the same buffer; the firmware keeps only what the image does
  // not hold.
  const std::uint32_t total = std::uint32_t{fw.BlockCount} + fw.SecondBlockCount;
  fw.ImageSize = total * static_cast<std::uint32_t>(kBlockSize);
  std::vector<bool> found;
  fw.Blocks = StrongFileToImage(file, ImageBlocks(fw, model.blocks_put_back), found);
  fw.Image = std::move(file);
  fw.Image.resize(fw.ImageSize, 0);
  found.resize(total, false);

  Result opened = dt::OpenCommonTable(fw, "boot", args.first, 4, dt::kBigShape32, false);
  if (!opened) return opened;

  if (model.fonts_need_second_area) {
    for (std::uint32_t i = fw.BlockCount; i < total; ++i)
      if (!found[i]) fw.ForceExternalFonts = true;
  }
  // The blocks holding the table and everything up to the first file table must be there.
  for (std::uint64_t b = fw.TableOffset / kBlockSize; b <= fw.FileTableOffset / kBlockSize; ++b)
    if (b >= total || !found[b]) return dt::RejectMissingBlocks();

  dt::WalkResult walk;
  Result walked = dt::WalkCommonTree(fw, dt::kBigShape32, walk);
  if (!walked) return walked;
  const ByteView image(fw.Image);

  if (walk.split) {
    dt::EraseRange(fw.Image, fw.AreaStart, fw.AreaEnd);
    dt::CloseSecondRegion(fw, walk);
  } else {
    fw.AreaEnd = dt::ToField(dt::SkipBlankWords(
        image, std::uint64_t{fw.FileTableOffset} + dt::kEntrySize * walk.entries));
    dt::EraseRange(fw.Image, fw.AreaStart, fw.AreaEnd);
    if (model.second_region)
      dt::OpenSecondRegionAtRun(fw, fw.AreaEnd, kBlockSize);
    else
      fw.SecondAreaEnd = fw.AreaEnd;
  }
  return Result::Ok();
}

Result GuardaStrong(const TFirmware& fw, const SaveOptions& options, Bytes& out) {
  const ModelDescriptor& model = *FindModel(fw.Model);
  const TNodo* root = fw.Root();
  if (root == nullptr) return Result::Refused(dt::TooManyFilesMessage());
  const auto dirs = dt::MeasureDirectories(*root, dt::kDataMask);
  const std::uint32_t put_back = model.blocks_put_back;
  std::vector<dt::Placement> places;
  places.reserve(dirs.size());

  if (!model.second_region) {
    // The file tables follow all the data, everything below the end of flash area 1.
    const std::uint64_t data = dt::TotalData(dirs);
    const std::uint64_t files = dt::TotalFiles(dirs);
    if (!(fw.AreaStart + data + dt::kEntrySize * files < std::uint64_t{put_back} * kBlockSize))
      return Result::Refused(dt::TooManyFilesMessage());
    std::uint64_t d = fw.AreaStart;
    std::uint64_t t = fw.AreaStart + data;
    for (const auto& dir : dirs) {
      places.push_back({d, t});
      d += dir.data;
      t += dt::kEntrySize * std::uint64_t{dir.files};
    }
  } else {
    // Which directories fit region 1 with their tables after their data.
    std::uint64_t kept_data = 0;
    std::uint64_t kept_files = 0;
    std::size_t first_out = dirs.size();
    for (std::size_t i = 0; i < dirs.size(); ++i) {
      if (fw.AreaStart + kept_data + dirs[i].data + dt::kEntrySize * (kept_files + dirs[i].files) <
          fw.AreaEnd) {
        kept_data += dirs[i].data;
        kept_files += dirs[i].files;
      } else {
        first_out = i;
        break;
      }
    }
    if (!(fw.SecondAreaStart + dt::TotalData(dirs, first_out) +
              dt::kEntrySize * dt::TotalFiles(dirs, first_out) <=
          fw.SecondAreaEnd))
      return Result::Refused(dt::TooManyFilesMessage());
    // Placing: a directory moves to region 2 when its entries would pass AreaEnd from the first
    // file table or its data would reach that table.
    std::uint64_t d = fw.AreaStart;
    std::uint64_t t = fw.AreaStart + kept_data;
    std::uint64_t placed = 0;
    bool switched = false;
    for (std::size_t i = 0; i < dirs.size(); ++i) {
      if (!switched && d < fw.AreaEnd &&
          (fw.FileTableOffset + dt::kEntrySize * (placed + dirs[i].files) > fw.AreaEnd ||
           d + dirs[i].data > fw.FileTableOffset)) {
        switched = true;
        d = fw.SecondAreaStart;
        t = fw.SecondAreaStart + dt::TotalData(dirs, i);
        placed = 0;
      }
      dt::Placement p{d, t};
      p.data_limit = p.table_limit = switched ? fw.SecondAreaEnd : fw.AreaEnd;
      places.push_back(p);
      d += dirs[i].data;
      t += dt::kEntrySize * std::uint64_t{dirs[i].files};
      placed += dirs[i].files;
    }
  }

  const dt::DirectoryWriting writing = dt::CommonWriting(fw, dt::kBigShape32);
  if (!dt::LayoutIsSound(writing, dirs, places, fw.ImageSize))
    return Result::Refused(dt::TooManyFilesMessage());

  // The image is built in the output buffer and turned into the block file there.
  ReserveLarge(out, std::max<std::size_t>(fw.ImageSize, fw.Blocks.size()));
  out.assign(fw.Image.begin(), fw.Image.begin() + std::min<std::size_t>(fw.Image.size(), fw.ImageSize));
  out.resize(fw.ImageSize, 0);
  dt::WriteDirectories(writing, out, dirs, places);
  Result fonts = dt::PutFontsBack(fw, options, out, dt::FontRefusal::kPlain);
  if (!fonts) return fonts;
  StrongImageToFile(out, fw.Blocks);
  return Result::Ok();
}

const FamilyDescriptor kStrongFamily{CargaStrong, GuardaStrong, &dt::kBigShape32, ByteOrder::Big};

}  // namespace corvane
