// Sony TS1A firmware (model 16): the image is the file; big-endian directory table whose count is
// followed by four more bytes, 32-byte records and a file-table block.
#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"
#include "firmware/models.h"

namespace corvane {

namespace dt = dirtable;

namespace {
constexpr std::uint64_t kLength = 0x200000;
constexpr std::uint64_t kSecondRegionRun = 0x10000;
}  // namespace

Result CargaSonyTS1A(TFirmware& fw, Bytes file) {
  const ModelDescriptor* model = FindModel(fw.Model);
  const std::uint32_t search_start = model ? model->args.first : 0;
  dt::TakeFileAsImage(fw, std::move(file));
  if (fw.Image.size() != kLength) return dt::RejectBadLength();
  const auto table = dt::FindTable(fw.Image, "boot", search_start, 8);
  if (!table) return dt::RejectTableNotFound();
  fw.TableOffset = dt::ToField(*table);
  const ByteView image(fw.Image);
  dt::ReadTableHeader(fw, image, dt::kBigShape32After8, true);

  dt::StartTree(fw);
  dt::WalkResult walk;
  Result walked = dt::WalkDirectories(
      fw, image, ByteOrder::Big, fw.DirectoryCount,
      dt::MakeDirectoryReader(image, dt::CommonReading(fw, dt::kBigShape32After8)), true, walk);
  if (!walked) return walked;

  dt::EraseRange(fw.Image, fw.AreaStart, fw.TableOffset);
  if (walk.split) {
    dt::CloseSecondRegion(fw, walk);
  } else {
    dt::EraseRange(fw.Image, fw.FileTableOffset, fw.AddressTableOffset);
    dt::OpenSecondRegionAtRun(fw, fw.TableOffset, kSecondRegionRun);
  }
  return Result::Ok();
}

Result GuardaSonyTS1A(TFirmware& fw, const SaveOptions& options, Bytes& out) {
  const TNodo* root = fw.Root();
  if (root == nullptr) return Result::Refused(dt::TooManyFilesMessage());
  const auto dirs = dt::MeasureDirectories(*root, dt::kDataMask);
  const dt::RegionPlan plan =
      dt::PlanTwoRegions(fw, dirs, fw.FileTableOffset, fw.TableOffset, fw.AddressTableOffset, true);
  const dt::DirectoryWriting writing = dt::CommonWriting(fw, dt::kBigShape32After8);
  if (!dt::LayoutIsSound(writing, dirs, plan.placements, fw.FileSize))
    return Result::Refused(dt::TooManyFilesMessage());

  Bytes buffer = dt::ImageBuffer(fw);
  dt::WriteDirectories(writing, buffer, dirs, plan.placements);
  Result fonts = dt::PutFontsBack(fw, options, buffer, ByteOrder::Big, dt::FontRefusal::kNamed);
  if (!fonts) return fonts;
  out = std::move(buffer);
  return Result::Ok();
}

}  // namespace corvane
