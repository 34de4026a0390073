// Pioneer BCT-13xx to 17xx, Kenwood DTF and Philips 6070 firmware (models 1, 2, 3, 10, 12, 20,
// 22): the image is the file; little-endian directory table with 32-byte records and (all but
// model 12) a file-table block; models 2, 3 and 22 carry a block checksum table.
#include <cstdio>
#include <vector>

#include "base/message_rows.h"
#include "base/crc32.h"
#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/firmware.h"
#include "firmware/sizes.h"

namespace corvane {

namespace dt = dirtable;

namespace {

constexpr std::uint64_t kLowAreaLimit = 0x14D00;    // compact layout: data and tables below this
constexpr std::uint64_t kLowAreaStart = 0xFFFF;     // compact layout: moves once the data passed this


bool LengthFits(const ModelDescriptor& model, std::uint64_t length) {
  for (const LengthRange& range : model.lengths)
    if (range.Holds(length)) return true;
  return false;
}

Message TooBigMessage(std::uint32_t second_area_end) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%06X", second_area_end);
  return Message::FromRow(rows::kImageTooBig)
      .Break()
      .Break()
      .Row(rows::kDeleteOrCheck)
      .Break()
      .Row(rows::kRemainsAt)
      .Text(hex)
      .Break()
      .Row(rows::kLeftByOthers);
}

}  // namespace

Result CargaPioneer(TFirmware& fw, Bytes file) {
  const ModelDescriptor& model = *FindModel(fw.Model);
  const std::uint32_t search_start = model.args.first;
  const std::uint64_t length = file.size();
  dt::TakeFileAsImage(fw, std::move(file));
  if (!LengthFits(model, length)) return dt::RejectBadLength();

  // The marker: the name the file begins with (its first directory's), searched after itself; or
  // "boot" from the model's search start.
  std::string marker = "boot";
  std::uint64_t from = search_start;
  if (search_start == 0) {
    marker = LeeNombre(fw.Image, 0, dt::kNameSize);
    from = marker.size();
  }
  Result opened =
      dt::OpenCommonTable(fw, marker, from, 4, dt::kLittleShape32, !model.compact_layout);
  if (!opened) return opened;
  dt::WalkResult walk;
  Result walked = dt::WalkCommonTree(fw, dt::kLittleShape32, walk);
  if (!walked) return walked;

  dt::EraseRange(fw.Image, fw.AreaStart, fw.TableOffset);
  if (model.compact_layout && !walk.split)
    dt::OpenSecondRegionAtRun(fw, 0, 15);
  else
    dt::FinishRegions(fw, walk, 0x10000);

  if (walk.files_added == 0) return dt::RejectNotSelectedType();
  // "/TS6/" tells the BCT-16xx family apart (a hit at the very start does not count).
  const bool ts6 = BuscaCadena("/TS6/", fw.Image, fw.Image.size(), false) > 0;
  if (!model.ts6_marker ? ts6 : (length == 0x180000 && !ts6))
    return dt::RejectNotSelectedType();
  return Result::Ok();
}

Result GuardaPioneer(const TFirmware& fw, const SaveOptions& options, Bytes& out) {
  const ModelDescriptor& model = *FindModel(fw.Model);
  const TNodo* root = fw.Root();
  if (root == nullptr) return Result::Refused(TooBigMessage(fw.SecondAreaEnd));
  const auto dirs = dt::MeasureDirectories(*root, dt::kDataMask);
  const std::uint64_t t_end = fw.TableOffset;

  // Region 1 holds data below T and entries in the file-table block; the directories from the
  // first that does not fit there go to region 2.
  dt::RegionPlan plan =
      dt::PlanTwoRegions(fw, dirs, fw.FileTableOffset, t_end, fw.AddressTableOffset, true);
  const std::int64_t offers = (static_cast<std::int64_t>(fw.TableOffset) - fw.AreaStart) +
                              (static_cast<std::int64_t>(fw.SecondAreaEnd) - fw.SecondAreaStart);
  const std::uint64_t needed = std::uint64_t{EspacioUsado(*root, dt::kDataMask)} +
                               dt::kEntrySize * dt::TotalFiles(dirs, plan.first_in_region2);
  if (offers < 0 || needed > static_cast<std::uint64_t>(offers))
    return Result::Refused(TooBigMessage(fw.SecondAreaEnd));

  const dt::DirectoryWriting writing = dt::CommonWriting(fw, dt::kLittleShape32);
  std::vector<dt::Range> reserved;
  if (fw.CrcOffset != 0) {
    reserved.push_back({fw.CrcOffset, fw.CrcOffset + 4ull * fw.CrcBlocks});
    if (model.second_crc_table != 0)
      reserved.push_back({std::uint64_t{fw.CrcOffset} + model.second_crc_table,
                          std::uint64_t{fw.CrcOffset} + model.second_crc_table + 4ull * fw.CrcBlocks});
  }

  // The compact layout keeps every directory in region 1 until the data passes T; the rest then goes to
  // the bottom of the image, with all the file tables after it.
  std::size_t moved_from = dirs.size();
  std::uint64_t low_data = 0;        // P: the data placed from image offset 0
  std::uint64_t move_fill_from = 0;  // the data position when the move happens
  std::vector<dt::Placement> places;
  if (!model.compact_layout) {
    places = std::move(plan.placements);
  } else {
    std::uint64_t d = fw.AreaStart;
    std::uint64_t t = fw.FileTableOffset;
    std::uint64_t placed = 0;
    for (std::size_t i = 0; i < dirs.size(); ++i) {
      if (moved_from == dirs.size() && d > kLowAreaStart && d + dirs[i].data > t_end) {
        const std::uint64_t rest = dt::TotalData(dirs, i);
        if (dt::kEntrySize * placed + rest + dt::kEntrySize * dt::TotalFiles(dirs, i) >
            kLowAreaLimit)
          return Result::Refused(dt::TooManyFilesMessage());
        moved_from = i;
        low_data = rest;
        move_fill_from = d;
        d = 0;
        t = low_data + dt::kEntrySize * placed;
      }
      places.push_back({d, t});
      d += dirs[i].data;
      t += dt::kEntrySize * std::uint64_t{dirs[i].files};
      placed += dirs[i].files;
    }
  }

  // The sound-layout guard; after a compact-layout move the area filled with 0xFF must not hold any of
  // the final layout.
  std::vector<dt::Placement> final_places = places;
  if (moved_from < dirs.size()) {
    for (std::size_t i = 0; i < moved_from; ++i)
      final_places[i].table = low_data + (places[i].table - fw.FileTableOffset);
    reserved.push_back({move_fill_from, t_end});
    const std::uint64_t early_tables_end = std::uint64_t{fw.FileTableOffset} +
                                           dt::kEntrySize * dt::TotalFiles(dirs, 0) -
                                           dt::kEntrySize * dt::TotalFiles(dirs, moved_from);
    // The tables are first written at FileTableOffset: there they must not fall on the data
    // already placed nor on the directory table.
    std::vector<dt::Range> before_move = dt::TableRanges(writing);
    before_move.push_back({fw.AreaStart, move_fill_from});
    for (const dt::Range& r : before_move)
      if (early_tables_end > fw.FileTableOffset && fw.FileTableOffset < r.end &&
          early_tables_end > r.start)
        return Result::Refused(dt::TooManyFilesMessage());
  }
  if (!dt::LayoutIsSound(writing, dirs, final_places, fw.FileSize, reserved))
    return Result::Refused(TooBigMessage(fw.SecondAreaEnd));

  Bytes buffer = dt::ImageBuffer(fw, std::move(out));
  const MutableByteView view(buffer);
  if (moved_from == dirs.size()) {
    dt::WriteDirectories(writing, view, dirs, places);
  } else {
    writing.shape.Write(view, writing.table, static_cast<std::uint32_t>(dirs.size()));
    for (std::size_t i = 0; i < moved_from; ++i)
      dt::WriteDirectory(writing, view, i, dirs[i], places[i]);
    // Move the tables written so far to P and point the addresses there.
    const std::uint64_t moved_bytes = places[moved_from].table - low_data;
    const Bytes tables = view.View().Sub(fw.FileTableOffset, moved_bytes).ToBytes();
    for (std::size_t i = 0; i < moved_from; ++i)
      writing.shape.Write(view, *writing.address_array + 4 * i,
                          writing.table_address(final_places[i].table));
    view.Copy(low_data, tables);
    dt::EraseRange(view, move_fill_from, t_end);
    for (std::size_t i = moved_from; i < dirs.size(); ++i)
      dt::WriteDirectory(writing, view, i, dirs[i], places[i]);
  }

  Result fonts = dt::PutFontsBack(fw, options, view, dt::FontRefusal::kNamed);
  if (!fonts) return fonts;
  if (fw.CrcOffset != 0) {
    const auto checksums = BlockChecksums(buffer, fw.CrcBlocks);
    WriteBlockChecksums(view, fw.CrcOffset, checksums);
    if (model.second_crc_table != 0)
      WriteBlockChecksums(view, fw.CrcOffset + model.second_crc_table, checksums);
  }
  out = std::move(buffer);
  return Result::Ok();
}

const FamilyDescriptor kPioneerFamily{CargaPioneer, GuardaPioneer, &dt::kLittleShape32, ByteOrder::Little};

}  // namespace corvane
