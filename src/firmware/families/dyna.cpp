// Philips 6072 Dyna firmware (model 27): the image is the file; little-endian directory table with
// 32-byte records and a file-table block, BaseAddress following from the table. What does not fit
// before the table goes to a fixed second area: data from 0x1A32CC, file tables from 0x1AF118.
#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"

namespace corvane {

namespace dt = dirtable;

namespace {

constexpr std::uint64_t kRegionBData = 0x1A32CC;
constexpr std::uint64_t kRegionBTables = 0x1AF118;
constexpr std::uint64_t kRegionBTablesLimit = 0x1AFFFF;
constexpr std::uint64_t kRegionBTablesErased = 3815;  // bytes from kRegionBTables

}  // namespace

Result CargaDyna(TFirmware& fw, Bytes file) {
  if (Result opened = dt::OpenFixedLengthImage(fw, std::move(file)); !opened) return opened;
  const ByteView image(fw.Image);
  dt::ReadComputedBaseHeader(fw, image, dt::kLittleShape32, 0);

  dt::WalkResult walk;
  return dt::WalkCommonTree(fw, dt::kLittleShape32, walk);
}

Result GuardaDyna(const TFirmware& fw, const SaveOptions&, Bytes& out) {
  const TNodo* root = fw.Root();
  if (root == nullptr) return Result::Refused(dt::TooManyFilesMessage());
  const auto dirs = dt::MeasureDirectories(*root, dt::kDataMask);
  const std::uint64_t t = fw.TableOffset;

  // Data stays in region A until a directory would end beyond T; entries stay in the block until
  // a directory's would end beyond the address array. Each switch to region B happens once.
  std::vector<dt::Placement> places;
  places.reserve(dirs.size());
  std::uint64_t data = fw.AreaStart;
  std::uint64_t table = fw.FileTableOffset;
  bool data_in_b = false;
  bool tables_in_b = false;
  std::uint64_t region_a_end = fw.AreaStart;
  for (const auto& d : dirs) {
    if (!data_in_b && data + d.data > t) {
      data_in_b = true;
      region_a_end = data;
      data = kRegionBData;
    }
    if (!tables_in_b && table + dt::kEntrySize * std::uint64_t{d.files} > fw.AddressTableOffset) {
      tables_in_b = true;
      table = kRegionBTables;
    }
    dt::Placement p{data, table};
    p.data_limit = data_in_b ? kRegionBTables : t;
    p.table_limit = tables_in_b ? kRegionBTablesLimit : fw.AddressTableOffset;
    places.push_back(p);
    data += d.data;
    table += dt::kEntrySize * std::uint64_t{d.files};
  }
  if (!data_in_b) region_a_end = data;
  const std::uint64_t region_b_data_end = data_in_b ? data : kRegionBData;
  const std::uint64_t region_b_tables_end = tables_in_b ? table : kRegionBTables;
  if (!(region_b_data_end <= kRegionBTables && region_b_tables_end <= kRegionBTablesLimit))
    return Result::Refused(dt::TooManyFilesMessage());
  const dt::DirectoryWriting writing = dt::CommonWriting(fw, dt::kLittleShape32);
  if (!dt::LayoutIsSound(writing, dirs, places, fw.FileSize))
    return Result::Refused(dt::TooManyFilesMessage());

  Bytes buffer = dt::ImageBuffer(fw, std::move(out));
  const MutableByteView view(buffer);
  const std::uint64_t used = dirs.size();
  const std::uint64_t cap = fw.DirectoryCapacity;
  dt::FillRange(view, fw.AreaStart, region_a_end, 0x00);
  dt::EraseRange(view, region_a_end, t);
  dt::EraseRange(view, region_b_data_end, kRegionBTables);
  dt::EraseRange(view, writing.counts_at + 4 * used, writing.counts_at + 4 * cap);
  dt::FillRange(view, t, dt::kLittleShape32.Record(t, cap), 0x00);
  dt::EraseRange(view, fw.FileTableOffset, fw.AddressTableOffset);
  dt::EraseRange(view, kRegionBTables, kRegionBTables + kRegionBTablesErased);
  dt::WriteDirectories(writing, view, dirs, places);
  out = std::move(buffer);
  return Result::Ok();
}

const FamilyDescriptor kDynaFamily{CargaDyna, GuardaDyna, nullptr, ByteOrder::Little};

}  // namespace corvane
