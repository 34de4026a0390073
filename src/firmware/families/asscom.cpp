// Asscom firmware (model 9): the image is the file; big-endian directory table with 32-byte
// records, no file-table block, one free region.
#include <vector>

#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"

namespace corvane {

namespace dt = dirtable;

namespace {
constexpr std::uint64_t kMinimumLength = 0x100000;  // the file must be longer
}  // namespace

Result CargaAsscom(TFirmware& fw, Bytes file) {
  const std::uint32_t search_start = FindModel(fw.Model)->args.first;
  dt::TakeFileAsImage(fw, std::move(file));
  if (fw.Image.size() <= kMinimumLength) return dt::RejectTableNotFound();
  Result opened = dt::OpenCommonTable(fw, "boot", search_start, 4, dt::kBigShape32, false);
  if (!opened) return opened;
  dt::WalkResult walk;
  Result walked = dt::WalkCommonTree(fw, dt::kBigShape32, walk);
  if (!walked) return walked;
  const ByteView image(fw.Image);

  // One region, from the first data up to the end of all file tables; its end is kept in
  // SecondAreaEnd.
  fw.SecondAreaEnd = dt::ToField(
      dt::SkipBlankWords(image, std::uint64_t{fw.FileTableOffset} + dt::kEntrySize * walk.entries));
  dt::EraseRange(fw.Image, fw.AreaStart, fw.SecondAreaEnd);
  return Result::Ok();
}

Result GuardaAsscom(const TFirmware& fw, const SaveOptions& options, Bytes& out) {
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
  return dt::WriteCommonImage(fw, options, dt::CommonWriting(fw, dt::kBigShape32), dirs, places,
                              dt::FontRefusal::kPlain, out);
}

const FamilyDescriptor kAsscomFamily{CargaAsscom, GuardaAsscom, &dt::kBigShape32, ByteOrder::Big};

}  // namespace corvane
