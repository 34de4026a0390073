// Nokia 9701s and 9850 firmware (models 13, 23): the image is the file; big-endian directory
// table with 32-byte records and a file-table block.
#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"

namespace corvane {

namespace dt = dirtable;

namespace {
constexpr std::uint64_t kSecondRegionRun = 0xA000;
}  // namespace

Result CargaNokia(TFirmware& fw, Bytes file) {
  const std::uint32_t search_start = FindModel(fw.Model)->args.first;
  dt::TakeFileAsImage(fw, std::move(file));
  Result opened = dt::OpenCommonTable(fw, "boot", search_start, 4, dt::kBigShape32, true);
  if (!opened) return opened;
  dt::WalkResult walk;
  Result walked = dt::WalkCommonTree(fw, dt::kBigShape32, walk);
  if (!walked) return walked;
  dt::FinishRegions(fw, walk, kSecondRegionRun);
  return Result::Ok();
}

Result GuardaNokia(const TFirmware& fw, const SaveOptions& options, Bytes& out) {
  const TNodo* root = fw.Root();
  if (root == nullptr) return Result::Refused(dt::TooManyFilesMessage());
  const auto dirs = dt::MeasureDirectories(*root, dt::kDataMask);
  const bool may_switch = FindModel(fw.Model)->second_region;
  if (!may_switch && !dt::FitsFirstRegion(fw, dirs))
    return Result::Refused(dt::TooManyFilesMessage());
  const dt::RegionPlan plan = dt::PlanTwoRegions(fw, dirs, fw.FileTableOffset, fw.TableOffset,
                                                 fw.AddressTableOffset, may_switch);
  return dt::WriteCommonImage(fw, options, dt::CommonWriting(fw, dt::kBigShape32), dirs,
                              plan.placements, dt::FontRefusal::kNamed, out);
}

const FamilyDescriptor kNokiaFamily{CargaNokia, GuardaNokia, &dt::kBigShape32, ByteOrder::Big};

}  // namespace corvane
