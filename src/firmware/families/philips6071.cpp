// Philips 6071 modified firmware (model 19): the image is the file; little-endian directory table
// found after the text "MODULE ADD.FLASH", with 32-byte records, then (after blank words) a
// file-count array, an address array and (after blank words) the file tables one after another.
// Data addresses are converted with BaseAddress, file-table addresses with SecondBaseAddress.
#include <algorithm>
#include <cstdint>

#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"
#include "firmware/sizes.h"

namespace corvane {

namespace dt = dirtable;

namespace {

constexpr std::string_view kMarker = "MODULE ADD.FLASH";
constexpr std::uint64_t kTableAfterMarker = 16;
constexpr std::uint32_t kMaxCount = 0x10000;  // larger values end the file-count array
constexpr dt::TableShape kShape = dt::kLittleShape32;

std::uint64_t RoundUp4(std::uint64_t v) { return (v + 3) / 4 * 4; }

}  // namespace

Result CargaPhilips6071(TFirmware& fw, Bytes file) {
  const ModelDescriptor* model = FindModel(fw.Model);
  const LoaderArgs args = model ? model->args : LoaderArgs{};
  const std::uint64_t length = file.size();
  dt::TakeFileAsImage(fw, std::move(file));
  if (length != args.first) return dt::RejectBadLength();
  const std::int64_t hit = BuscaCadenaDesde(kMarker, fw.Image, args.second, fw.Image.size(), false);
  if (hit < 0) return dt::RejectTableNotFound();
  const ByteView image(fw.Image);
  const std::uint64_t t = static_cast<std::uint64_t>(hit) + kTableAfterMarker;
  fw.TableOffset = dt::ToField(t);
  fw.DirectoryCount = kShape.Read(image, t);

  // Records while their data address is not below BaseAddress.
  std::uint64_t records = 0;
  while (image.Contains(kShape.Record(t, records), kShape.record_size) &&
         kShape.ReadAddress(image, kShape.Record(t, records)) >= fw.BaseAddress)
    ++records;
  // The count array: after blank words, the values up to 0x10000; its length is the capacity.
  const std::uint64_t counts = dt::SkipBlankWords(image, kShape.Record(t, records));
  std::uint64_t capacity = 0;
  while (image.Contains(counts + 4 * capacity, 4) &&
         kShape.Read(image, counts + 4 * capacity) <= kMaxCount)
    ++capacity;
  fw.DirectoryCapacity = dt::ToField(capacity);
  const std::uint64_t addresses = counts + 4 * capacity;
  fw.AddressTableOffset = dt::ToField(addresses);
  const std::uint64_t first_table = dt::SkipBlankWords(image, addresses + 4 * capacity);
  fw.FileTableOffset = dt::ToField(first_table);
  fw.SecondBaseAddress = static_cast<std::uint32_t>(kShape.Read(image, addresses) - first_table);
  fw.AreaStart = kShape.ReadAddress(image, kShape.Record(t, 0)) - fw.BaseAddress;

  dt::DirectoryReading reading = dt::CommonReading(fw, kShape);
  reading.counts_at = counts;
  reading.table_base = fw.SecondBaseAddress;
  // Directories beyond the arrays have no count and no table address: the walk stops there.
  const auto in_use = static_cast<std::uint32_t>(std::min<std::uint64_t>(fw.DirectoryCount, capacity));
  std::uint64_t end_above = 0;  // highest data end, directories from AreaStart on
  std::uint64_t end_below = 0;  // the same below AreaStart
  bool any_above = false;
  bool any_below = false;
  dt::StartTree(fw);
  dt::WalkResult walk;
  Result walked = dt::WalkDirectories(
      fw, image, ByteOrder::Little, in_use, dt::MakeDirectoryReader(image, reading), false, walk,
      [&](const dt::DirectoryInfo& dir, std::uint64_t start, std::uint64_t size) {
        const std::uint64_t end = RoundUp4(start + size);
        if (dir.base >= fw.AreaStart) {
          end_above = std::max(end_above, end);
          any_above = true;
        } else {
          end_below = std::max(end_below, end);
          any_below = true;
        }
      });
  if (!walked) return walked;
  fw.AreaEnd = dt::ToField(dt::SkipBlankWords(image, any_above ? end_above : fw.AreaStart));
  fw.SecondAreaStart = dt::ToField(first_table + dt::kEntrySize * walk.entries);
  fw.SecondAreaEnd =
      dt::ToField(dt::SkipBlankWords(image, any_below ? end_below : fw.SecondAreaStart));
  return Result::Ok();
}

Result GuardaPhilips6071(const TFirmware& fw, const SaveOptions&, Bytes& out) {
  const TNodo* root = fw.Root();
  if (root == nullptr) return Result::Refused(dt::TooManyFilesMessage());
  // The second area begins after the file tables, which grow with the files.
  const std::uint32_t second_start = dt::ToField(std::uint64_t{fw.FileTableOffset} +
                                   std::uint64_t{dt::kEntrySize} * CuentaArchivos(root->FirstChild()));
  const auto dirs = dt::MeasureDirectories(*root, dt::kDataMask);
  const std::int64_t room =
      (std::int64_t{fw.AreaEnd} - fw.AreaStart) + (std::int64_t{fw.SecondAreaEnd} - second_start);
  if (room < 0 || static_cast<std::uint64_t>(room) < dt::TotalData(dirs))
    return Result::Refused(dt::TooManyFilesMessage());

  // Data from AreaStart until a directory would end beyond AreaEnd, then from SecondAreaStart;
  // the file tables one after another from FileTableOffset.
  std::vector<dt::Placement> places;
  places.reserve(dirs.size());
  std::uint64_t data = fw.AreaStart;
  std::uint64_t table = fw.FileTableOffset;
  bool second = false;
  for (const auto& d : dirs) {
    if (!second && data + d.data > fw.AreaEnd) {
      second = true;
      data = second_start;
    }
    dt::Placement p{data, table};
    p.data_limit = second ? fw.SecondAreaEnd : fw.AreaEnd;
    places.push_back(p);
    data += d.data;
    table += dt::kEntrySize * std::uint64_t{d.files};
  }

  const std::uint64_t t = fw.TableOffset;
  const std::uint64_t counts = std::uint64_t{fw.AddressTableOffset} - 4ull * fw.DirectoryCapacity;
  dt::DirectoryWriting writing = dt::CommonWriting(fw, kShape);
  writing.counts_at = counts;
  const std::uint32_t table_base = fw.SecondBaseAddress;
  writing.table_address = [table_base](std::uint64_t offset) {
    return static_cast<std::uint32_t>(offset + table_base);
  };
  // The records in use must end before the count array.
  if (kShape.Record(t, dirs.size()) > counts || fw.AddressTableOffset < 4ull * fw.DirectoryCapacity ||
      !dt::LayoutIsSound(writing, dirs, places, fw.FileSize))
    return Result::Refused(dt::TooManyFilesMessage());

  Bytes buffer = dt::ImageBuffer(fw, std::move(out));
  const MutableByteView view(buffer);
  dt::FillRange(view, t, fw.SecondAreaEnd, 0x00);
  dt::FillRange(view, fw.AreaStart, fw.AreaEnd, 0x00);
  dt::WriteDirectories(writing, view, dirs, places);
  out = std::move(buffer);
  return Result::Ok();
}

const FamilyDescriptor kPhilips6071Family{CargaPhilips6071, GuardaPhilips6071, nullptr, ByteOrder::Little};

}  // namespace corvane
