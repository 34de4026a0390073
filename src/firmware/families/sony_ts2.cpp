// Sony TS2 firmware (model 24): the image is the file; big-endian directory table with 30-byte
// records (data address at record offset 10), the file-table block right after the counts and an
// address array found by its first value.
#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"

namespace corvane {

namespace dt = dirtable;

namespace {

constexpr std::uint64_t kLength = 0x100000;
constexpr std::uint32_t kDataMaskTS2 = 1;  // data of each directory starts 2-aligned

bool FreeEntryNameChar(std::uint8_t c) {
  return c == ' ' || c == '.' || c == '_' || c == 0xFF || (c >= '0' && c <= '9') ||
         (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The further 20-byte entries after the last file table that look like free entries: name bytes
// from the set above, 0x00 or 0xFF at entry offsets 12 and 16. 0 when the run reaches the image
// end.
std::uint64_t FreeEntriesAfter(ByteView image, std::uint64_t pos) {
  const std::uint64_t start = pos;
  while (true) {
    if (!image.Contains(pos, dt::kEntrySize)) return 0;
    bool free_entry = true;
    for (std::uint64_t k = 0; k < dt::kNameSize && free_entry; ++k)
      free_entry = FreeEntryNameChar(image[pos + k]);
    for (const std::uint64_t k : {12u, 16u})
      free_entry = free_entry && (image[pos + k] == 0x00 || image[pos + k] == 0xFF);
    if (!free_entry) return pos - start;
    pos += dt::kEntrySize;
  }
}

}  // namespace

Result CargaSonyTS2(TFirmware& fw, Bytes file) {
  dt::TakeFileAsImage(fw, std::move(file));
  if (fw.Image.size() != kLength) return dt::RejectBadLength();
  const auto table = dt::FindTable(fw.Image, "boot", 0, 4);
  if (!table) return dt::RejectTableNotFound();
  fw.TableOffset = dt::ToField(*table);
  const ByteView image(fw.Image);
  const dt::TableShape& shape = dt::kBigShape30;
  fw.DirectoryCount = shape.Read(image, fw.TableOffset);
  fw.AreaStart = shape.ReadAddress(image, shape.Record(fw.TableOffset, 0)) - fw.BaseAddress;
  fw.DirectoryCapacity =
      dt::ScanCapacity(image, shape.Record(fw.TableOffset, 0), shape.record_size);
  fw.FileTableOffset = dt::ToField(shape.AfterCounts(fw.TableOffset, fw.DirectoryCapacity));
  // The address array is where the flash address of the first file table first occurs.
  const std::uint32_t first_table = fw.FileTableOffset + fw.BaseAddress;
  const char pattern[4] = {static_cast<char>(first_table >> 24),
                           static_cast<char>(first_table >> 16),
                           static_cast<char>(first_table >> 8), static_cast<char>(first_table)};
  const std::int64_t array = BuscaCadena(std::string_view(pattern, 4), image, image.size(), false);
  if (array < 0) return dt::RejectTableNotFound();
  fw.AddressTableOffset = static_cast<std::uint32_t>(array);

  dt::StartTree(fw);
  dt::WalkResult walk;
  Result walked = dt::WalkDirectories(fw, image, ByteOrder::Big, fw.DirectoryCount,
                                      dt::MakeDirectoryReader(image, dt::CommonReading(fw, shape)),
                                      false, walk);
  if (!walked) return walked;

  fw.SecondAreaStart = 0;
  const std::uint64_t tables_end =
      std::uint64_t{fw.FileTableOffset} + dt::kEntrySize * walk.entries;
  fw.SecondAreaEnd = dt::ToField(tables_end + FreeEntriesAfter(image, tables_end));
  dt::EraseRange(fw.Image, fw.AreaStart, fw.TableOffset);
  return Result::Ok();
}

Result GuardaSonyTS2(const TFirmware& fw, const SaveOptions&, Bytes& out) {
  const TNodo* root = fw.Root();
  if (root == nullptr) return Result::Refused(dt::TooManyFilesMessage());
  const auto dirs = dt::MeasureDirectories(*root, kDataMaskTS2);
  if (!(fw.FileTableOffset + dt::kEntrySize * dt::TotalFiles(dirs) <= fw.SecondAreaEnd &&
        fw.AreaStart + dt::TotalData(dirs) <= fw.TableOffset))
    return Result::Refused(dt::TooManyFilesMessage());
  const dt::RegionPlan plan =
      dt::PlanTwoRegions(fw, dirs, fw.FileTableOffset, dt::kNoLimit, dt::kNoLimit, false);
  const dt::DirectoryWriting writing = dt::CommonWriting(fw, dt::kBigShape30);
  if (!dt::LayoutIsSound(writing, dirs, plan.placements, fw.FileSize))
    return Result::Refused(dt::TooManyFilesMessage());

  Bytes buffer = dt::ImageBuffer(fw, std::move(out));
  dt::WriteDirectories(writing, buffer, dirs, plan.placements);
  out = std::move(buffer);
  return Result::Ok();
}

const FamilyDescriptor kSonyTS2Family{CargaSonyTS2, GuardaSonyTS2, &dt::kBigShape30, ByteOrder::Big};

}  // namespace corvane
