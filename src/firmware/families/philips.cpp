// Pioneer BCT-15xx CONAX, Philips 607x and Pace CP3000P firmware (models 7, 8, 11): the image is
// the file; little-endian directory table with 16-byte records (name, data address) and a
// file-table block. BaseAddress follows from the table, and a directory's data lies 16 bytes per
// directory record above what its address says.
#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"

namespace corvane {

namespace dt = dirtable;

namespace {

constexpr dt::TableShape kShape{ByteOrder::Little, 16, 4, 12, 4};
constexpr std::uint32_t kDataBelowRecords = 16;  // per directory record

}  // namespace

Result CargaPhilips(TFirmware& fw, Bytes file) {
  if (Result opened = dt::OpenFixedLengthImage(fw, std::move(file)); !opened) return opened;
  const ByteView image(fw.Image);
  dt::ReadComputedBaseHeader(fw, image, kShape, kDataBelowRecords);

  dt::DirectoryReading reading = dt::CommonReading(fw, kShape);
  reading.data_extra = std::uint64_t{kDataBelowRecords} * fw.DirectoryCapacity;
  dt::WalkResult walk;
  return dt::WalkTree(fw, image, reading, walk);
}

Result GuardaPhilips(const TFirmware& fw, const SaveOptions&, Bytes& out) {
  auto begun = dt::BeginFirstRegionWriter(fw, dt::kDataMask, kShape);
  if (!begun) return Result::Refused(dt::TooManyFilesMessage());
  const auto& dirs = begun->dirs;
  auto& writing = begun->writing;
  const std::uint64_t data = dt::TotalData(dirs);
  const std::uint64_t files = dt::TotalFiles(dirs);
  const std::uint32_t data_base =
      fw.BaseAddress - kDataBelowRecords * fw.DirectoryCapacity;  // 32-bit flash arithmetic
  writing.data_address = [data_base](std::uint64_t offset) {
    return static_cast<std::uint32_t>(offset + data_base);
  };
  return dt::FinishFirstRegionWriter(fw, *begun, [&](MutableByteView view, std::uint64_t used) {
    const std::uint64_t cap = fw.DirectoryCapacity;
    const std::uint64_t t = fw.TableOffset;
    // The data area: zero where the data goes, erased up to the table.
    dt::FillRange(view, fw.AreaStart, fw.AreaStart + data, 0x00);
    dt::EraseRange(view, fw.AreaStart + data, t);
    // Unused directory records, file counts, the block after the last entry, address slots.
    dt::EraseRange(view, kShape.Record(t, used), kShape.Record(t, cap));
    dt::EraseRange(view, writing.counts_at + 4 * used, writing.counts_at + 4 * cap);
    dt::EraseRange(view, fw.FileTableOffset + dt::kEntrySize * files, fw.AddressTableOffset);
    dt::EraseRange(view, std::uint64_t{fw.AddressTableOffset} + 4 * used,
                   std::uint64_t{fw.AddressTableOffset} + 4 * cap);
  }, out);
}

const FamilyDescriptor kPhilipsFamily{CargaPhilips, GuardaPhilips, nullptr, ByteOrder::Little};

}  // namespace corvane
