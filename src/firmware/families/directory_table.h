// The directory table that the firmware families share, and the pieces their loaders and writers
// are built from.
//
// On the image, from T = TableOffset: the number of directories in use, then DirectoryCapacity
// records of R bytes (name, and the flash address of the directory's data at a fixed record
// offset), then DirectoryCapacity file counts, then (families with a file-table block) the first
// file tables, then at AddressTableOffset DirectoryCapacity flash addresses of the file tables.
// A file table is a run of 20-byte entries: name (12 bytes), offset from the directory's data
// base, size.
//
// Positions are computed in 64 bits: a crafted table can hold any 32-bit value, and no sum or
// product of such values may wrap around into a wrong offset. Every read goes through ByteView
// (zero past the end) after an explicit check that the item lies inside the image.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "base/result.h"
#include "firmware/tree.h"

namespace corvane {

class TFirmware;
struct SaveOptions;

namespace dirtable {

inline constexpr std::uint32_t kEntrySize = 20;
inline constexpr std::uint32_t kNameSize = 12;
inline constexpr std::uint8_t kErased = 0xFF;
inline constexpr std::uint32_t kDataMask = 3;  // data of each directory starts 4-aligned
inline constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

// Message rows the loaders and writers report.

Result RejectBadLength();        // message 5
Result RejectTableNotFound();    // message 220
Result RejectNotSelectedType();  // message 4
Result RejectMissingBlocks();    // message 229
// Messages 223 + CR LF + 224.
Message TooManyFilesMessage();

// A 64-bit position as a 32-bit layout field (saturating: such a value lies outside any image).
std::uint32_t ToField(std::uint64_t value);

// ---------------------------------------------------------------------------------------------
// Shape of a family's directory table.
struct TableShape {
  ByteOrder order = ByteOrder::Big;
  std::uint32_t record_size = 32;  // R
  std::uint32_t records_at = 4;    // bytes from T to the first record (8 when the count is
                                   // followed by four more bytes)
  std::uint32_t address_at = 12;   // the data address inside a record
  int address_bytes = 4;           // width of that address (3 for 24-bit plain offsets)

  std::uint64_t Record(std::uint64_t table, std::uint64_t index) const {
    return table + records_at + std::uint64_t{record_size} * index;
  }
  // The file-count array.
  std::uint64_t Counts(std::uint64_t table, std::uint64_t capacity) const {
    return Record(table, capacity);
  }
  // The end of the count array: where the file-table block (or the address array) begins.
  std::uint64_t AfterCounts(std::uint64_t table, std::uint64_t capacity) const {
    return Counts(table, capacity) + 4 * capacity;
  }
  std::uint32_t Read(ByteView image, std::uint64_t pos) const;
  std::uint32_t ReadAddress(ByteView image, std::uint64_t record) const;
  void Write(MutableByteView image, std::uint64_t pos, std::uint32_t value) const;
};

// ---------------------------------------------------------------------------------------------
// Loader pieces.

// "+", ".", digits, letters, "_" and 0xFF.
bool IsNameChar(std::uint8_t c);
// The four bytes at pos lie inside the image and are all 0x00 or 0xFF.
bool IsBlankWord(ByteView image, std::uint64_t pos);

// "boot" + NUL (or another marker) from `from`; T = hit - back. nullopt when the marker is absent
// or T would begin before the image start.
std::optional<std::uint64_t> FindTable(ByteView image, std::string_view marker, std::uint64_t from,
                                       std::uint64_t back);

// Number of R-byte steps from `first_record` before a record whose first four bytes are all outside
// the name set and not all zero. The walk ends at the image end.
std::uint32_t ScanCapacity(ByteView image, std::uint64_t first_record, std::uint32_t record_size);

// Length of the file-table block from `start`: while the four bytes there are name characters,
// skip an entry (20 bytes) and then four more when they read 4E 71 4E 71. 0 when the walk runs
// off the image end.
std::uint64_t ScanFileTableBlock(ByteView image, std::uint64_t start);

// The address array that follows the file-table block at `block_start`. The literal scan decides,
// unless the array it gives does not point its first address at the block start (the first
// directory's file table opens the block): then the first word that does, searched from the block
// start in steps of 4, is the array. That happens after a save packed the entries of a block that
// held 4E 71 4E 71 markers: the erased tail of the block reads as name characters and the scan
// walks into the array. Without such a word the literal result stands.
std::uint64_t LocateAddressArray(ByteView image, const TableShape& shape, std::uint64_t block_start,
                                 std::uint32_t base_address);

// From pos, steps of 4 while the four bytes are all 0x00 or 0xFF and lie inside the image.
std::uint64_t SkipBlankWords(ByteView image, std::uint64_t pos);

struct ByteRun {
  std::uint64_t start = 0;
  std::uint64_t end = 0;
};
// The first place p = from + 4k (p + length inside the image) where `length` bytes in a row are
// 0xFF, with the end of that 0xFF run.
std::optional<ByteRun> FindErasedRun(ByteView image, std::uint64_t from, std::uint64_t length);
// The second free region at the first such run: start as found, end advanced over blank words.
std::optional<ByteRun> FindSecondRegion(ByteView image, std::uint64_t from, std::uint64_t length);

// Fills [start, end) with 0xFF, clipped to the image.
void EraseRange(MutableByteView image, std::uint64_t start, std::uint64_t end);
// Fills [start, end) with `value`, clipped to the image (nothing when end <= start).
void FillRange(MutableByteView image, std::uint64_t start, std::uint64_t end, std::uint8_t value);

// Families whose image is the file itself: Image = the file, FileSize = ImageSize = its length.
void TakeFileAsImage(TFirmware& firmware, Bytes file);

// The opening of the families whose file has one fixed length (the model's first loader argument,
// message 5 otherwise) and whose table follows "boot" + NUL searched from the second argument
// (message 220 when absent): takes the file as the image and sets TableOffset.
Result OpenFixedLengthImage(TFirmware& firmware, Bytes file);

// Every loader starts its tree here: empties the tree and adds the root node named RootName.
TNodo* StartTree(TFirmware& firmware);

// Reads the table header of the common layout with the family's shape: DirectoryCount at T,
// AreaStart from the first record's data address, DirectoryCapacity by the capacity scan,
// AddressTableOffset after the counts (plus the file-table block when the family has one) and
// FileTableOffset from the first address. TableOffset must be set.
void ReadTableHeader(TFirmware& firmware, ByteView image, const TableShape& shape,
                     bool file_table_block);
// The opening of the common layout: the table is found by `marker` from `from` (FindTable), its
// offset stored in TableOffset and its header read (ReadTableHeader). Rejects (message 220) when
// there is no table.
Result OpenCommonTable(TFirmware& firmware, std::string_view marker, std::uint64_t from,
                       std::size_t gap, const TableShape& shape, bool file_table_block);

// One directory as its table describes it. Offsets may lie anywhere (outside the image too).
struct DirectoryInfo {
  std::string name;
  std::uint64_t base = 0;   // image offset of its data base
  std::uint64_t count = 0;  // number of file entries
  std::uint64_t table = 0;  // image offset of its file table
};
// Directory i, asked in order from 0; nullopt when its record, count or address lies beyond the
// image end (the walk ends there).
using DirectoryReader = std::function<std::optional<DirectoryInfo>(std::uint32_t index)>;

// How directories are read from the table.
struct DirectoryReading {
  TableShape shape;
  std::uint64_t table = 0;  // T
  std::uint32_t capacity = 0;
  std::uint32_t data_base = 0;   // subtracted from a record's data address (32-bit arithmetic)
  std::uint64_t data_extra = 0;  // added to the resulting offset
  std::uint64_t counts_at = 0;   // image offset of the file-count array
  // Image offset of the table addresses, or nullopt when the file tables follow one another from
  // first_table in directory order.
  std::optional<std::uint64_t> address_array;
  std::uint32_t table_base = 0;  // subtracted from a table address (32-bit arithmetic)
  std::uint64_t first_table = 0;
  // Tables that follow one another: a 4E 71 4E 71 marker closing a table is stepped over, as the
  // file-table block scan does.
  bool skip_block_markers = false;
};
// The reading of the common layout: counts after the records, addresses at AddressTableOffset,
// both address kinds converted with BaseAddress.
DirectoryReading CommonReading(const TFirmware& firmware, const TableShape& shape);
DirectoryReader MakeDirectoryReader(ByteView image, const DirectoryReading& reading);

// What the walk over the directories found.
struct WalkResult {
  std::uint64_t entries = 0;          // file entries read (inside the image)
  std::uint64_t region2_entries = 0;  // of those, in directories of the second region
  std::uint64_t region2_table = 0;    // first file table of the second region
  bool split = false;
  std::uint32_t files_added = 0;  // nodes added for entries
};

// Walks the directory table: directories i < count under the root, their entries as files (a
// file only when its data end lies below the image size). With split_regions, the first directory
// whose base lies beyond FileTableOffset starts the second region: SecondAreaStart = its base and
// AreaEnd = the end of the first region's tables advanced over blank words. Rejects (message 4)
// a table describing more entries or file bytes than any image of this size can hold.
// `on_file`, when given, sees every file added: its directory, data start and length.
using FileVisitor =
    std::function<void(const DirectoryInfo& dir, std::uint64_t start, std::uint64_t length)>;
Result WalkDirectories(TFirmware& firmware, ByteView image, ByteOrder order, std::uint32_t count,
                       const DirectoryReader& read, bool split_regions, WalkResult& result,
                       const FileVisitor& on_file = {});

// StartTree, then WalkDirectories over DirectoryCount directories read with `reading`, splitting
// the regions.
Result WalkTree(TFirmware& firmware, ByteView image, const DirectoryReading& reading,
                WalkResult& walk);
// The common layout's walk: WalkTree with CommonReading(firmware, shape).
Result WalkCommonTree(TFirmware& firmware, const TableShape& shape, WalkResult& walk);
// The end of a walk over an image that may hold a second region: the split one is closed
// (CloseSecondRegion); otherwise the file-table block is erased after the entries and the second
// region is the first run of `run` erased bytes after the table (OpenSecondRegionAtRun).
void FinishRegions(TFirmware& firmware, const WalkResult& walk, std::uint64_t run);

// Closing a walk that split the image in two regions: SecondAreaEnd = the end of the second
// region's file tables advanced over blank words; [SecondAreaStart, SecondAreaEnd) is erased.
void CloseSecondRegion(TFirmware& firmware, const WalkResult& walk);
// A one-region image: the second region is the first run of `length` 0xFF bytes from `from`
// (steps of 4), its end advanced over blank words; it is erased. Nothing when there is none.
void OpenSecondRegionAtRun(TFirmware& firmware, std::uint64_t from, std::uint64_t length);

// Families whose BaseAddress is not a setting but follows from the table: the first directory's
// file table opens the file-table block, so BaseAddress = (first value of the address array) -
// FileTableOffset. Reads DirectoryCount, DirectoryCapacity (capacity scan), FileTableOffset (the
// block start, right after the counts), AddressTableOffset (block scan, see below), BaseAddress
// and AreaStart = the first record's data address - BaseAddress + data_extra, where data_extra =
// extra_per_record x DirectoryCapacity (directory data addresses of the Philips family are
// written that much lower).
//
// Block mend: a writer that packs the entries leaves the rest of the block erased (0xFF entries
// read as names). When the block held 4E 71 4E 71 markers, the erased tail is no multiple of 20
// bytes and the literal scan steps over the address array. The literal result stands unless the
// scan went through an erased entry, the first word after that erased run is off the scan's
// 20-byte grid and before where the scan stopped, and the table read through that word is sound
// (every directory in use has its data base and its file table inside the image): then that word
// opens the array. A base that is not a setting cannot tell the two readings apart by the first
// address alone, so the erased run itself is the evidence.
void ReadComputedBaseHeader(TFirmware& firmware, ByteView image, const TableShape& shape,
                            std::uint32_t extra_per_record);

// The table shapes of the families built on the common layout.
inline constexpr TableShape kLittleShape32{ByteOrder::Little, 32, 4, 12, 4};
inline constexpr TableShape kBigShape32{ByteOrder::Big, 32, 4, 12, 4};
inline constexpr TableShape kBigShape32After8{ByteOrder::Big, 32, 8, 12, 4};
inline constexpr TableShape kBigShape30{ByteOrder::Big, 30, 4, 10, 4};

// Detection evidence: every directory in use (up to the capacity) has its data base and its file
// table inside the image, with the firmware's base address.
bool AddressesInsideImage(const TFirmware& firmware, const TableShape& shape);

// ---------------------------------------------------------------------------------------------
// Writer pieces.

struct DirectorySize {
  const TNodo* node = nullptr;
  std::uint32_t data = 0;   // SumaTamanos(node, mask)
  std::uint32_t files = 0;  // entries: one per child
};
// The root's children with their data and entry counts.
std::vector<DirectorySize> MeasureDirectories(const TNodo& root, std::uint32_t mask);
std::uint64_t TotalData(const std::vector<DirectorySize>& dirs, std::size_t from = 0);
std::uint64_t TotalFiles(const std::vector<DirectorySize>& dirs, std::size_t from = 0);

// Where a directory's data and file table go, and the bounds they must stay below.
struct Placement {
  std::uint64_t data = 0;
  std::uint64_t table = 0;
  std::uint64_t data_limit = kNoLimit;
  std::uint64_t table_limit = kNoLimit;
};

// The usual two-region plan: data from AreaStart and entries from `table_start`; the first
// directory whose data would end beyond `data_end` or whose entries would end beyond `table_end`
// goes, with all that follow, to the second region (data from SecondAreaStart, its tables after all
// of that region's data, both bounded by SecondAreaEnd). Without `may_switch` everything stays.
struct RegionPlan {
  std::vector<Placement> placements;
  std::size_t first_in_region2;  // == size() when none
};
RegionPlan PlanTwoRegions(const TFirmware& firmware, const std::vector<DirectorySize>& dirs,
                          std::uint64_t table_start, std::uint64_t data_end,
                          std::uint64_t table_end, bool may_switch);

struct Range {
  std::uint64_t start = 0;
  std::uint64_t end = 0;
};

// How the directories are written back.
struct DirectoryWriting {
  TableShape shape;
  std::uint64_t table = 0;  // T
  std::uint32_t capacity = 0;
  std::uint64_t counts_at = 0;
  std::optional<std::uint64_t> address_array;                 // nullopt: no address array
  std::function<std::uint32_t(std::uint64_t)> data_address;   // image offset -> record value
  std::function<std::uint32_t(std::uint64_t)> table_address;  // image offset -> array value
};
// The writing of the common layout: flash addresses = image offset + BaseAddress.
DirectoryWriting CommonWriting(const TFirmware& firmware, const TableShape& shape);

// The ranges of the table itself: count, records, counts, and the address array.
std::vector<Range> TableRanges(const DirectoryWriting& writing);

// The guard every writer runs after its own capacity rule: true when there are no more directories
// than records, every directory's data and entries lie inside the buffer and below their limits,
// and nothing written falls on the table, on a `reserved` range or on another directory's bytes.
bool LayoutIsSound(const DirectoryWriting& writing, const std::vector<DirectorySize>& dirs,
                   const std::vector<Placement>& places, std::uint64_t buffer_size,
                   std::vector<Range> reserved = {});

// Writes directory i: name in record i, data address, file count, table address, entries and
// file bytes. Bytes the layout does not cover keep their values.
void WriteDirectory(const DirectoryWriting& writing, MutableByteView out, std::size_t index,
                    const DirectorySize& dir, const Placement& place);
// The writers' starting point: a copy of the image as the loader left it, FileSize bytes long,
// made in `reuse`'s memory when it has room (the writer's output buffer from an earlier build).
Bytes ImageBuffer(const TFirmware& firmware, Bytes reuse = {});

// The directories' data fit below the table and their entries in the file-table block.
bool FitsFirstRegion(const TFirmware& firmware, const std::vector<DirectorySize>& dirs);

// The opening of a writer that keeps every directory in the first region: the root's directories
// measured with `mask`, the plan that places them all there and the common writing with `shape`.
// nullopt (the writer refuses with TooManyFilesMessage) without a root or when they do not fit.
struct FirstRegionWriter {
  std::vector<DirectorySize> dirs;
  RegionPlan plan;
  DirectoryWriting writing;
};
std::optional<FirstRegionWriter> BeginFirstRegionWriter(const TFirmware& firmware,
                                                        std::uint32_t mask,
                                                        const TableShape& shape);
// Its end: refuses when the layout is unsound; otherwise, over a copy of the image, `fill` clears
// what the `used` directories leave unused, then the directories are written.
Result FinishFirstRegionWriter(
    const TFirmware& firmware, const FirstRegionWriter& writer,
    const std::function<void(MutableByteView image, std::uint64_t used)>& fill, Bytes& out);

// DirectoryCount = dirs.size() at T, then every directory.
void WriteDirectories(const DirectoryWriting& writing, MutableByteView out,
                      const std::vector<DirectorySize>& dirs, const std::vector<Placement>& places);

// The writers' font step, in the byte order of the model's family. Skipped for a model without
// fonts in its image and when the fonts come from external files (the option, no font set given,
// or a firmware whose own fonts cannot be used). Otherwise refuses with message 329
// (kPlain) or 330 + name + "-" + size + 331 (kNamed) when the set does not fit, else writes it.
enum class FontRefusal { kPlain, kNamed };
Result PutFontsBack(const TFirmware& firmware, const SaveOptions& options, MutableByteView out,
                    FontRefusal refusal);

// The writers' common tail: refuses (messages 223, 224) a layout that is not sound, then writes
// the directories into a copy of the image, puts the fonts back and hands the image out.
Result WriteCommonImage(const TFirmware& firmware, const SaveOptions& options,
                        const DirectoryWriting& writing, const std::vector<DirectorySize>& dirs,
                        const std::vector<Placement>& places, FontRefusal refusal, Bytes& out);

}  // namespace dirtable
}  // namespace corvane
