// Nokia 9701s and 9850 firmware (models 13, 23): the image is the file; big-endian directory
// table with 32-byte records and a file-table block.
#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"
#include "firmware/models.h"

namespace corvane {

namespace dt = dirtable;

namespace {
constexpr int kNokia9701 = 13;
constexpr std::uint64_t kSecondRegionRun = 0xA000;
}  // namespace

Result CargaNokia(TFirmware& fw, Bytes file) {
  const ModelDescriptor* model = FindModel(fw.Model);
  const std::uint32_t search_start = model ? model->args.first : 0;
  dt::TakeFileAsImage(fw, std::move(file));
  const auto table = dt::FindTable(fw.Image, "boot", search_start, 4);
  if (!table) return dt::RejectTableNotFound();
  fw.TableOffset = dt::ToField(*table);
  const ByteView image(fw.Image);
  dt::ReadTableHeader(fw, image, dt::kBigShape32, true);

  dt::StartTree(fw);
  dt::WalkResult walk;
  Result walked = dt::WalkDirectories(
      fw, image, ByteOrder::Big, fw.DirectoryCount,
      dt::MakeDirectoryReader(image, dt::CommonReading(fw, dt::kBigShape32)), true, walk);
  if (!walked) return walked;

  if (walk.split) {
    dt::CloseSecondRegion(fw, walk);
  } else {
    dt::EraseRange(fw.Image, fw.FileTableOffset, fw.AddressTableOffset);
    dt::OpenSecondRegionAtRun(fw, fw.TableOffset, kSecondRegionRun);
  }
  return Result::Ok();
}

Result GuardaNokia(TFirmware& fw, const SaveOptions& options, Bytes& out) {
  const TNodo* root = fw.Root();
  if (root == nullptr) return Result::Refused(dt::TooManyFilesMessage());
  const auto dirs = dt::MeasureDirectories(*root, dt::kDataMask);
  const bool may_switch = fw.Model != kNokia9701;
  if (!may_switch &&
      !(fw.AreaStart + dt::TotalData(dirs) <= fw.TableOffset &&
        fw.FileTableOffset + dt::kEntrySize * dt::TotalFiles(dirs) <= fw.AddressTableOffset))
    return Result::Refused(dt::TooManyFilesMessage());
  const dt::RegionPlan plan = dt::PlanTwoRegions(fw, dirs, fw.FileTableOffset, fw.TableOffset,
                                                 fw.AddressTableOffset, may_switch);
  const dt::DirectoryWriting writing = dt::CommonWriting(fw, dt::kBigShape32);
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
