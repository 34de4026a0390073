// Asscom firmware (model 9): the image is the file; big-endian directory table with 32-byte
// records, no file-table block, one free region.
#include <vector>

#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"
#include "firmware/models.h"

namespace corvane {

namespace dt = dirtable;

namespace {
constexpr std::uint64_t kMinimumLength = 0x100000;  // the file must be longer
}  // namespace

Result CargaAsscom(TFirmware& fw, Bytes file) {
  const ModelDescriptor* model = FindModel(fw.Model);
  const std::uint32_t search_start = model ? model->args.first : 0;
  dt::TakeFileAsImage(fw, std::move(file));
  if (fw.Image.size() <= kMinimumLength) return dt::RejectTableNotFound();
  const auto table = dt::FindTable(fw.Image, "boot", search_start, 4);
  if (!table) return dt::RejectTableNotFound();
  fw.TableOffset = dt::ToField(*table);
  const ByteView image(fw.Image);
  dt::ReadTableHeader(fw, image, dt::kBigShape32, false);

  dt::StartTree(fw);
  dt::WalkResult walk;
  Result walked = dt::WalkDirectories(
      fw, image, ByteOrder::Big, fw.DirectoryCount,
      dt::MakeDirectoryReader(image, dt::CommonReading(fw, dt::kBigShape32)), true, walk);
  if (!walked) return walked;

  // One region, from the first data up to the end of all file tables; its end is kept in
  // SecondAreaEnd.
  fw.SecondAreaEnd = dt::ToField(
      dt::SkipBlankWords(image, std::uint64_t{fw.FileTableOffset} + dt::kEntrySize * walk.entries));
  dt::EraseRange(fw.Image, fw.AreaStart, fw.SecondAreaEnd);
  return Result::Ok();
}

Result GuardaAsscom(TFirmware& fw, const SaveOptions& options, Bytes& out) {
  const TNodo* root = fw.Root();
  if (root == nullptr) return Result::Refused(dt::TooManyFilesMessage());
  const auto dirs = dt::MeasureDirectories(*root, dt::kDataMask);
  if (!(fw.FileTableOffset + dt::kEntrySize * dt::TotalFiles(dirs) < fw.SecondAreaEnd))
    return Result::Refused(dt::TooManyFilesMessage());
  // One region, data from AreaStart and the file tables right after all of it, all of it below
  // the region's end.
  std::vector<dt::Placement> places;
  std::uint64_t d = fw.AreaStart;
  std::uint64_t t = fw.AreaStart + dt::TotalData(dirs);
  for (const auto& dir : dirs) {
    places.push_back({d, t, fw.SecondAreaEnd, fw.SecondAreaEnd});
    d += dir.data;
    t += dt::kEntrySize * std::uint64_t{dir.files};
  }
  const dt::DirectoryWriting writing = dt::CommonWriting(fw, dt::kBigShape32);
  if (!dt::LayoutIsSound(writing, dirs, places, fw.FileSize))
    return Result::Refused(dt::TooManyFilesMessage());

  Bytes buffer = dt::ImageBuffer(fw);
  dt::WriteDirectories(writing, buffer, dirs, places);
  Result fonts = dt::PutFontsBack(fw, options, buffer, ByteOrder::Big, dt::FontRefusal::kPlain);
  if (!fonts) return fonts;
  out = std::move(buffer);
  return Result::Ok();
}

}  // namespace corvane
