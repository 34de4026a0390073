// Philips 96070D and 95062D firmware (models 25, 26): the image is the file; big-endian directory
// table with 30-byte records holding plain image offsets (no base address) and a file-table block
// whose tables follow one another (no address array).
#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"

namespace corvane {

namespace dt = dirtable;

namespace {

// The data offset is read as the 24-bit number at record offset 11; it is written as a 32-bit
// number at offset 10, whose top byte is then 0.
constexpr dt::TableShape kReadShape{ByteOrder::Big, 30, 4, 11, 3};
constexpr dt::TableShape kWriteShape = dt::kBigShape30;
constexpr std::uint32_t kDataMaskD = 1;  // data of each directory starts 2-aligned

}  // namespace

Result CargaPhilipsD(TFirmware& fw, Bytes file) {
  if (Result opened = dt::OpenFixedLengthImage(fw, std::move(file)); !opened) return opened;
  const ByteView image(fw.Image);
  const std::uint64_t t = fw.TableOffset;
  fw.DirectoryCount = kReadShape.Read(image, t);
  fw.AreaStart = kReadShape.ReadAddress(image, kReadShape.Record(t, 0));
  fw.DirectoryCapacity = dt::ScanCapacity(image, kReadShape.Record(t, 0), kReadShape.record_size);
  const std::uint64_t block = kReadShape.AfterCounts(t, fw.DirectoryCapacity);
  fw.FileTableOffset = dt::ToField(block);
  fw.AddressTableOffset = dt::ToField(block + dt::ScanFileTableBlock(image, block));

  dt::DirectoryReading reading = dt::CommonReading(fw, kReadShape);
  reading.address_array.reset();  // the tables follow one another from the block start
  reading.skip_block_markers = true;
  dt::WalkResult walk;
  return dt::WalkTree(fw, image, reading, walk);
}

Result GuardaPhilipsD(const TFirmware& fw, const SaveOptions&, Bytes& out) {
  auto begun = dt::BeginFirstRegionWriter(fw, kDataMaskD, kWriteShape);
  if (!begun) return Result::Refused(dt::TooManyFilesMessage());
  const auto& dirs = begun->dirs;
  const auto& plan = begun->plan;
  auto& writing = begun->writing;
  const std::uint64_t files = dt::TotalFiles(dirs);
  writing.address_array.reset();
  writing.data_address = [](std::uint64_t offset) { return static_cast<std::uint32_t>(offset); };
  // A plain offset must survive its 24-bit reading.
  for (const dt::Placement& p : plan.placements)
    if (p.data > 0xFFFFFF) return Result::Refused(dt::TooManyFilesMessage());
  return dt::FinishFirstRegionWriter(fw, *begun, [&](MutableByteView view, std::uint64_t used) {
    const std::uint64_t cap = fw.DirectoryCapacity;
    const std::uint64_t t = fw.TableOffset;
    dt::EraseRange(view, fw.AreaStart, t);
    dt::EraseRange(view, kWriteShape.Record(t, used), kWriteShape.Record(t, cap));
    dt::FillRange(view, writing.counts_at + 4 * used, writing.counts_at + 4 * cap, 0x00);
    dt::FillRange(view, fw.FileTableOffset + dt::kEntrySize * files, fw.AddressTableOffset, 0x00);
  }, out);
}

const FamilyDescriptor kPhilipsDFamily{CargaPhilipsD, GuardaPhilipsD, nullptr, ByteOrder::Big};

}  // namespace corvane
