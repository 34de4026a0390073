// Sony TS1A firmware (model 16): the image is the file; big-endian directory table whose count is
// followed by four more bytes, 32-byte records and a file-table block.
#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"

namespace corvane {

namespace dt = dirtable;

namespace {
constexpr std::uint64_t kLength = 0x200000;
constexpr std::uint64_t kSecondRegionRun = 0x10000;
}  // namespace

Result CargaSonyTS1A(TFirmware& fw, Bytes file) {
  const std::uint32_t search_start = FindModel(fw.Model)->args.first;
  dt::TakeFileAsImage(fw, std::move(file));
  if (fw.Image.size() != kLength) return dt::RejectBadLength();
  Result opened =
      dt::OpenCommonTable(fw, "boot", search_start, 8, dt::kBigShape32After8, true);
  if (!opened) return opened;
  dt::WalkResult walk;
  Result walked = dt::WalkCommonTree(fw, dt::kBigShape32After8, walk);
  if (!walked) return walked;

  dt::EraseRange(fw.Image, fw.AreaStart, fw.TableOffset);
  dt::FinishRegions(fw, walk, kSecondRegionRun);
  return Result::Ok();
}

Result GuardaSonyTS1A(const TFirmware& fw, const SaveOptions& options, Bytes& out) {
  const TNodo* root = fw.Root();
  if (root == nullptr) return Result::Refused(dt::TooManyFilesMessage());
  const auto dirs = dt::MeasureDirectories(*root, dt::kDataMask);
  const dt::RegionPlan plan =
      dt::PlanTwoRegions(fw, dirs, fw.FileTableOffset, fw.TableOffset, fw.AddressTableOffset, true);
  return dt::WriteCommonImage(fw, options, dt::CommonWriting(fw, dt::kBigShape32After8), dirs,
                              plan.placements, dt::FontRefusal::kNamed, out);
}

const FamilyDescriptor kSonyTS1AFamily{CargaSonyTS1A, GuardaSonyTS1A, &dt::kBigShape32After8, ByteOrder::Big};

}  // namespace corvane
