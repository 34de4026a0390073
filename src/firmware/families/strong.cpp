// Strong 8000, 8100 and 8000 CONAX firmware (models 5, 6, 21): a block file whose 64 KB records
// are assembled into the flash image; big-endian directory table with 32-byte records and no
// file-table block.
#include <algorithm>
#include <cstring>
#include <vector>

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

// Whether record r of the block file holds image block r, for every record, with nothing after
// the last: the file then is the image with a header before each block, and one can become the
// other in the same buffer.
bool RecordsInImageOrder(const TFirmware& fw, ByteView file) {
  const bool area2 = fw.SecondBaseAddress != 0 && fw.SecondBlockCount != 0;
  const std::uint32_t total = fw.BlockCount + (area2 ? std::uint32_t{fw.SecondBlockCount} : 0u);
  std::uint32_t r = 0;
  std::size_t pos = 0;
  for (; file.Contains(pos, kStrongHeaderSize); pos += kStrongRecordSize, ++r) {
    if (r >= total) return false;
    const std::uint32_t expected = r < fw.BlockCount ? BlockAddress(fw.BaseAddress, r)
                                                     : BlockAddress(fw.SecondBaseAddress, r - fw.BlockCount);
    if (file.u32be(pos + 4) != expected) return false;
  }
  return r > 0 && pos >= file.size();
}

// Bytes of record r's data (the last record may be cut short).
std::size_t RecordData(std::size_t file_size, std::size_t r) {
  return std::min(kBlockSize, file_size - r * kStrongRecordSize - kStrongHeaderSize);
}

// Turns a block file in image order into its image in the same buffer: block r moves to r x 64 KB;
// what no record holds reads as zero.
void BlockFileToImage(Bytes& buffer, std::size_t image_size) {
  const std::size_t file_size = buffer.size();
  const std::size_t records = (file_size + kStrongRecordSize - 1) / kStrongRecordSize;
  std::size_t end = 0;
  for (std::size_t r = 0; r < records; ++r) {  // each block moves down, past the ones already moved
    const std::size_t n = RecordData(file_size, r);
    std::memmove(buffer.data() + r * kBlockSize, buffer.data() + r * kStrongRecordSize + kStrongHeaderSize, n);
    end = r * kBlockSize + n;
  }
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(end), buffer.end(), 0);
  buffer.resize(image_size, 0);
}

// The reverse for the writer: the built image in `buffer` becomes the block file, with the headers
// and the records not put back as `file` has them.
void ImageToBlockFile(Bytes& buffer, ByteView file, std::uint32_t block_count, std::uint32_t put_back) {
  const std::size_t records = (file.size() + kStrongRecordSize - 1) / kStrongRecordSize;
  if (buffer.size() < file.size()) buffer.resize(file.size());
  for (std::size_t r = records; r-- > 0;) {  // each block moves up, past the ones still to move
    const std::size_t pos = r * kStrongRecordSize;
    const std::size_t n = RecordData(file.size(), r);
    std::uint8_t* const data = buffer.data() + pos + kStrongHeaderSize;
    if (r < put_back || r >= block_count)
      std::memmove(data, buffer.data() + r * kBlockSize, n);
    else
      std::memcpy(data, file.data() + pos + kStrongHeaderSize, n);
    std::memcpy(buffer.data() + pos, file.data() + pos, kStrongHeaderSize);
  }
  buffer.resize(file.size());
}

}  // namespace

Result CargaStrong(TFirmware& fw, Bytes file) {
  const ModelDescriptor& model = *FindModel(fw.Model);
  const LoaderArgs args = model.args;
  fw.BlockCount = args.blocks;
  fw.SecondBlockCount = args.second_blocks;
  fw.FileSize = dt::ToField(file.size());
  fw.FileData = std::move(file);

  // Assemble the image from the records, in any order.
  const std::uint32_t total = std::uint32_t{fw.BlockCount} + fw.SecondBlockCount;
  fw.ImageSize = total * static_cast<std::uint32_t>(kBlockSize);
  std::vector<bool> found(total, false);
  const bool area2 = fw.SecondBaseAddress != 0 && fw.SecondBlockCount != 0;
  // A firmware read only to be compared keeps no copy of its file: the file becomes the image.
  if (ComparedTree::Holds(fw.Tree) && RecordsInImageOrder(fw, fw.FileData)) {
    const std::size_t records = (fw.FileData.size() + kStrongRecordSize - 1) / kStrongRecordSize;
    std::fill(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(records), true);
    fw.Image = std::move(fw.FileData);
    fw.FileData.clear();
    BlockFileToImage(fw.Image, fw.ImageSize);
  } else {
    fw.Image.assign(fw.ImageSize, 0);
    for (std::uint32_t i = 0; i < fw.BlockCount; ++i)
      found[i] = CopyStrongBlock(fw.FileData, BlockAddress(fw.BaseAddress, i), fw.Image,
                                 std::size_t{i} * kBlockSize);
  }
  if (area2 && !fw.FileData.empty()) {
    for (std::uint32_t i = 0; i < fw.SecondBlockCount; ++i)
      found[fw.BlockCount + i] =
          CopyStrongBlock(fw.FileData, BlockAddress(fw.SecondBaseAddress, i), fw.Image,
                          std::size_t{fw.BlockCount + i} * kBlockSize);
  }

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

  // Where the block file keeps the image's order, the image is built in the output buffer and
  // turned into the block file there.
  const bool area2 = fw.SecondBaseAddress != 0 && fw.SecondBlockCount != 0;
  const bool in_place = (!area2 || put_back == fw.BlockCount) && RecordsInImageOrder(fw, fw.FileData);
  Bytes image;
  image.reserve(in_place ? std::max<std::size_t>(fw.ImageSize, fw.FileData.size()) : fw.ImageSize);
  image.assign(fw.Image.begin(), fw.Image.begin() + std::min<std::size_t>(fw.Image.size(), fw.ImageSize));
  image.resize(fw.ImageSize, 0);
  dt::WriteDirectories(writing, image, dirs, places);
  Result fonts = dt::PutFontsBack(fw, options, image, dt::FontRefusal::kPlain);
  if (!fonts) return fonts;
  if (in_place) {
    ImageToBlockFile(image, fw.FileData, fw.BlockCount, put_back);
    out = std::move(image);
    return Result::Ok();
  }

  // Back into the block file, record by record in the order they were read.
  out = fw.FileData;
  const ByteView blocks(image);
  for (std::uint32_t i = 0; i < put_back; ++i)
    PutStrongBlock(out, BlockAddress(fw.BaseAddress, i),
                   blocks.Sub(std::size_t{i} * kBlockSize, kBlockSize));
  if (area2) {
    for (std::uint32_t i = 0; i < fw.SecondBlockCount; ++i)
      PutStrongBlock(out, BlockAddress(fw.SecondBaseAddress, i),
                     blocks.Sub(std::size_t{put_back + i} * kBlockSize, kBlockSize));
  }
  return Result::Ok();
}

const FamilyDescriptor kStrongFamily{CargaStrong, GuardaStrong, &dt::kBigShape32, ByteOrder::Big};

}  // namespace corvane
