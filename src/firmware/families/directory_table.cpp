#include "firmware/families/directory_table.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/large_buffer.h"
#include "base/message_rows.h"
#include "firmware/firmware.h"
#include "firmware/image_fonts.h"
#include "firmware/models.h"
#include "firmware/sizes.h"

namespace corvane::dirtable {

Result RejectBadLength() {
  return Result::Rejected(Message::FromRow(rows::kBadLength));
}
Result RejectTableNotFound() {
  return Result::Rejected(Message::FromRow(rows::kTableNotFound));
}
Result RejectNotSelectedType() {
  return Result::Rejected(Message::FromRow(rows::kNotSelectedType));
}
Result RejectMissingBlocks() {
  return Result::Rejected(Message::FromRow(rows::kMissingBlocks));
}

Message TooManyFilesMessage() {
  return Message::FromRow(rows::kTooManyFiles).Break().Row(rows::kDeleteSomeFile);
}

std::uint32_t ToField(std::uint64_t value) {
  return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

std::uint32_t TableShape::Read(ByteView image, std::uint64_t pos) const {
  return ReadU32(image, pos, order);
}

std::uint32_t TableShape::ReadAddress(ByteView image, std::uint64_t record) const {
  const std::uint64_t pos = record + address_at;
  return order == ByteOrder::Little ? image.ReadLE(pos, address_bytes)
                                    : image.ReadBE(pos, address_bytes);
}

void TableShape::Write(MutableByteView image, std::uint64_t pos, std::uint32_t value) const {
  WriteU32(image, pos, value, order);
}

// ---------------------------------------------------------------------------------------------

bool IsNameChar(std::uint8_t c) {
  return c == '+' || c == '.' || c == '_' || c == 0xFF || (c >= '0' && c <= '9') ||
         (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

namespace {
bool IsBlank(std::uint8_t c) {
  return c == 0x00 || c == 0xFF;
}

bool NameWord(ByteView image, std::uint64_t pos) {
  return IsNameChar(image[pos]) && IsNameChar(image[pos + 1]) && IsNameChar(image[pos + 2]) &&
         IsNameChar(image[pos + 3]);
}
}  // namespace

bool IsBlankWord(ByteView image, std::uint64_t pos) {
  return image.Contains(pos, 4) && IsBlank(image[pos]) && IsBlank(image[pos + 1]) &&
         IsBlank(image[pos + 2]) && IsBlank(image[pos + 3]);
}

std::optional<std::uint64_t> FindTable(ByteView image, std::string_view marker, std::uint64_t from,
                                       std::uint64_t back) {
  const std::int64_t hit = BuscaCadenaDesde(marker, image, from, image.size(), true);
  if (hit < 0 || static_cast<std::uint64_t>(hit) < back) return std::nullopt;
  return static_cast<std::uint64_t>(hit) - back;
}

std::uint32_t ScanCapacity(ByteView image, std::uint64_t first_record, std::uint32_t record_size) {
  std::uint32_t steps = 0;
  for (std::uint64_t pos = first_record; image.Contains(pos, 4); pos += record_size) {
    bool all_outside = true;
    bool all_zero = true;
    for (int k = 0; k < 4; ++k) {
      const std::uint8_t c = image[pos + static_cast<std::uint64_t>(k)];
      all_outside = all_outside && !IsNameChar(c);
      all_zero = all_zero && c == 0;
    }
    if (all_outside && !all_zero) break;
    ++steps;
  }
  return steps;
}

std::uint64_t ScanFileTableBlock(ByteView image, std::uint64_t start) {
  std::uint64_t pos = start;
  while (true) {
    if (!image.Contains(pos, 4)) return 0;  // ran off the end
    if (!NameWord(image, pos)) return pos - start;
    pos += kEntrySize;
    if (image.Contains(pos, 4) && image[pos] == 0x4E && image[pos + 1] == 0x71 &&
        image[pos + 2] == 0x4E && image[pos + 3] == 0x71)
      pos += 4;
  }
}

std::uint64_t LocateAddressArray(ByteView image, const TableShape& shape, std::uint64_t block_start,
                                 std::uint32_t base_address) {
  const std::uint64_t literal = block_start + ScanFileTableBlock(image, block_start);
  const auto wanted = static_cast<std::uint32_t>(block_start + base_address);
  if (!image.Contains(literal, 4) || shape.Read(image, literal) == wanted) return literal;
  for (std::uint64_t pos = block_start; image.Contains(pos, 4); pos += 4)
    if (shape.Read(image, pos) == wanted) return pos;
  return literal;
}

std::uint64_t SkipBlankWords(ByteView image, std::uint64_t pos) {
  while (IsBlankWord(image, pos)) pos += 4;
  return pos;
}

std::optional<ByteRun> FindErasedRun(ByteView image, std::uint64_t from, std::uint64_t length) {
  const std::uint64_t size = image.size();
  if (length == 0 || from >= size) return std::nullopt;
  const std::uint8_t* data = image.data();
  std::uint64_t p = from;
  while (p < size && length <= size - p) {
    // The 0xFF run starting at p.
    std::uint64_t end = p;
    while (end < size && data[end] == kErased) ++end;
    if (end - p >= length) {
      return ByteRun{p, end};
    }
    // No start inside [p, end] can hold the run: the next candidate lies past the first non-0xFF
    // byte at `end`, on the same 4-byte grid as `from`.
    const std::uint64_t next = end + 1;
    p += (next - p + 3) / 4 * 4;
  }
  return std::nullopt;
}

std::optional<ByteRun> FindSecondRegion(ByteView image, std::uint64_t from, std::uint64_t length) {
  auto run = FindErasedRun(image, from, length);
  if (run) run->end = SkipBlankWords(image, run->end);
  return run;
}

void EraseRange(MutableByteView image, std::uint64_t start, std::uint64_t end) {
  FillRange(image, start, end, kErased);
}

void FillRange(MutableByteView image, std::uint64_t start, std::uint64_t end, std::uint8_t value) {
  if (end > start && start < image.size()) image.Fill(start, end - start, value);
}

void TakeFileAsImage(TFirmware& fw, Bytes file) {
  fw.FileSize = ToField(file.size());
  fw.ImageSize = fw.FileSize;
  fw.Image = std::move(file);
}

Result OpenFixedLengthImage(TFirmware& fw, Bytes file) {
  const ModelDescriptor* model = FindModel(fw.Model);
  const LoaderArgs args = model ? model->args : LoaderArgs{};
  const std::uint64_t length = file.size();
  TakeFileAsImage(fw, std::move(file));
  if (length != args.first) return RejectBadLength();
  const auto table = FindTable(fw.Image, "boot", args.second, 4);
  if (!table) return RejectTableNotFound();
  fw.TableOffset = ToField(*table);
  return Result::Ok();
}

void CloseSecondRegion(TFirmware& fw, const WalkResult& walk) {
  fw.SecondAreaEnd =
      ToField(SkipBlankWords(fw.Image, walk.region2_table + kEntrySize * walk.region2_entries));
  EraseRange(fw.Image, fw.SecondAreaStart, fw.SecondAreaEnd);
}

void OpenSecondRegionAtRun(TFirmware& fw, std::uint64_t from, std::uint64_t length) {
  const auto run = FindSecondRegion(fw.Image, from, length);
  if (!run) return;
  fw.SecondAreaStart = ToField(run->start);
  fw.SecondAreaEnd = ToField(run->end);
  EraseRange(fw.Image, fw.SecondAreaStart, fw.SecondAreaEnd);
}

bool AddressesInsideImage(const TFirmware& fw, const TableShape& shape) {
  const ByteView image(fw.Image);
  const std::uint32_t count = std::min(fw.DirectoryCount, fw.DirectoryCapacity);
  if (count == 0) return false;
  const std::uint64_t counts = shape.Counts(fw.TableOffset, fw.DirectoryCapacity);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t record = shape.Record(fw.TableOffset, i);
    const std::uint64_t at = std::uint64_t{fw.AddressTableOffset} + 4ull * i;
    if (!image.Contains(record, shape.record_size) || !image.Contains(at, 4) ||
        !image.Contains(counts + 4ull * i, 4))
      return false;
    if (shape.ReadAddress(image, record) - fw.BaseAddress >= image.size()) return false;
    if (shape.Read(image, counts + 4ull * i) != 0 &&
        shape.Read(image, at) - fw.BaseAddress >= image.size())
      return false;
  }
  return true;
}

TNodo* StartTree(TFirmware& firmware) {
  firmware.Tree->Clear();
  return AnadeNodo(ByteView(), firmware.RootName, *firmware.Tree, nullptr);
}

void ReadTableHeader(TFirmware& fw, ByteView image, const TableShape& shape,
                     bool file_table_block) {
  const std::uint64_t t = fw.TableOffset;
  fw.DirectoryCount = shape.Read(image, t);
  fw.AreaStart = shape.ReadAddress(image, shape.Record(t, 0)) - fw.BaseAddress;
  fw.SecondAreaStart = 0;
  fw.SecondAreaEnd = 0;
  fw.DirectoryCapacity = ScanCapacity(image, shape.Record(t, 0), shape.record_size);
  const std::uint64_t after_counts = shape.AfterCounts(t, fw.DirectoryCapacity);
  const std::uint64_t address_array =
      file_table_block ? LocateAddressArray(image, shape, after_counts, fw.BaseAddress)
                       : after_counts;
  fw.AddressTableOffset = ToField(address_array);
  fw.FileTableOffset = shape.Read(image, address_array) - fw.BaseAddress;
}

namespace {

bool ErasedWord(ByteView image, std::uint64_t pos) {
  return image.Contains(pos, 4) && image[pos] == kErased && image[pos + 1] == kErased &&
         image[pos + 2] == kErased && image[pos + 3] == kErased;
}

// The first entry start of the literal block scan whose word is erased, if the scan meets one.
std::optional<std::uint64_t> FirstErasedEntry(ByteView image, std::uint64_t start) {
  std::uint64_t pos = start;
  while (image.Contains(pos, 4) && NameWord(image, pos)) {
    if (ErasedWord(image, pos)) return pos;
    pos += kEntrySize;
    if (image.Contains(pos, 4) && image[pos] == 0x4E && image[pos + 1] == 0x71 &&
        image[pos + 2] == 0x4E && image[pos + 3] == 0x71)
      pos += 4;
  }
  return std::nullopt;
}

// Every directory in use has its data base and (with files) its whole file table inside the
// image, reading the address array at `array` with the base it implies.
bool ComputedBaseIsSound(ByteView image, const TableShape& shape, std::uint64_t table,
                         std::uint32_t capacity, std::uint64_t block_start, std::uint64_t array,
                         std::uint64_t data_extra) {
  const auto base = static_cast<std::uint32_t>(shape.Read(image, array) - block_start);
  const std::uint32_t used = std::min(shape.Read(image, table), capacity);
  const std::uint64_t counts = shape.Counts(table, capacity);
  for (std::uint32_t i = 0; i < used; ++i) {
    const std::uint64_t record = shape.Record(table, i);
    const std::uint64_t at = array + 4ull * i;
    if (!image.Contains(record, shape.record_size) || !image.Contains(at, 4)) return false;
    const std::uint64_t data =
        std::uint64_t{static_cast<std::uint32_t>(shape.ReadAddress(image, record) - base)} +
        data_extra;
    if (data >= image.size()) return false;
    const std::uint64_t count = shape.Read(image, counts + 4ull * i);
    const std::uint64_t file_table = static_cast<std::uint32_t>(shape.Read(image, at) - base);
    if (count > 0 && (file_table + kEntrySize * count > image.size())) return false;
  }
  return true;
}

}  // namespace

void ReadComputedBaseHeader(TFirmware& fw, ByteView image, const TableShape& shape,
                            std::uint32_t extra_per_record) {
  const std::uint64_t t = fw.TableOffset;
  fw.DirectoryCount = shape.Read(image, t);
  fw.DirectoryCapacity = ScanCapacity(image, shape.Record(t, 0), shape.record_size);
  const std::uint64_t data_extra = std::uint64_t{extra_per_record} * fw.DirectoryCapacity;
  const std::uint64_t block = shape.AfterCounts(t, fw.DirectoryCapacity);
  std::uint64_t array = block + ScanFileTableBlock(image, block);
  if (const auto erased = FirstErasedEntry(image, block)) {
    std::uint64_t p = *erased;
    while (ErasedWord(image, p)) p += 4;
    if (p < array && (p - block) % kEntrySize != 0 &&
        ComputedBaseIsSound(image, shape, t, fw.DirectoryCapacity, block, p, data_extra))
      array = p;
  }
  fw.FileTableOffset = ToField(block);
  fw.AddressTableOffset = ToField(array);
  fw.BaseAddress = static_cast<std::uint32_t>(shape.Read(image, array) - block);
  fw.AreaStart = ToField(
      std::uint64_t{static_cast<std::uint32_t>(shape.ReadAddress(image, shape.Record(t, 0)) -
                                               fw.BaseAddress)} +
      data_extra);
  fw.SecondAreaStart = 0;
  fw.SecondAreaEnd = 0;
}

DirectoryReading CommonReading(const TFirmware& fw, const TableShape& shape) {
  DirectoryReading r;
  r.shape = shape;
  r.table = fw.TableOffset;
  r.capacity = fw.DirectoryCapacity;
  r.data_base = fw.BaseAddress;
  r.counts_at = shape.Counts(fw.TableOffset, fw.DirectoryCapacity);
  r.address_array = fw.AddressTableOffset;
  r.table_base = fw.BaseAddress;
  r.first_table = fw.FileTableOffset;
  return r;
}

DirectoryReader MakeDirectoryReader(ByteView image, const DirectoryReading& reading) {
  // Tables that follow one another: the running position.
  auto next_table = std::make_shared<std::uint64_t>(reading.first_table);
  return [image, reading, next_table](std::uint32_t i) -> std::optional<DirectoryInfo> {
    const TableShape& shape = reading.shape;
    const std::uint64_t record = shape.Record(reading.table, i);
    const std::uint64_t count_at = reading.counts_at + 4ull * i;
    if (!image.Contains(record, shape.record_size) || !image.Contains(count_at, 4))
      return std::nullopt;
    DirectoryInfo d;
    d.name = LeeNombre(image, record, kNameSize);
    d.base = std::uint64_t{static_cast<std::uint32_t>(shape.ReadAddress(image, record) -
                                                      reading.data_base)} +
             reading.data_extra;
    d.count = shape.Read(image, count_at);
    if (reading.address_array) {
      const std::uint64_t at = *reading.address_array + 4ull * i;
      if (!image.Contains(at, 4)) return std::nullopt;
      d.table = static_cast<std::uint32_t>(shape.Read(image, at) - reading.table_base);
    } else {
      d.table = *next_table;
      *next_table += kEntrySize * d.count;
      const std::uint64_t m = *next_table;
      if (reading.skip_block_markers && d.count > 0 && image.Contains(m, 4) && image[m] == 0x4E &&
          image[m + 1] == 0x71 && image[m + 2] == 0x4E && image[m + 3] == 0x71)
        *next_table += 4;
    }
    return d;
  };
}

Result WalkDirectories(TFirmware& fw, ByteView image, ByteOrder order, std::uint32_t count,
                       const DirectoryReader& read, bool split_regions, WalkResult& result,
                       const FileVisitor& on_file) {
  result = {};
  TNodo* root = fw.Root();
  const std::uint64_t size = image.size();
  // No real table describes more entries than its image can hold, nor more file bytes than a few
  // times the image (files may share bytes). A crafted one could ask for gigabytes.
  const std::uint64_t max_entries = 2 * (size / kEntrySize) + 64;
  const std::uint64_t max_bytes = 4 * size + 0x10000;
  std::uint64_t bytes = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto dir = read(i);
    if (!dir) break;
    TNodo* node = AnadeNodo(ByteView(), dir->name, *fw.Tree, root);
    if (split_regions && !result.split && dir->base > fw.FileTableOffset) {
      result.split = true;
      fw.SecondAreaStart = ToField(dir->base);
      fw.AreaEnd = ToField(
          SkipBlankWords(image, std::uint64_t{fw.FileTableOffset} + kEntrySize * result.entries));
      result.region2_table = dir->table;
    }
    if (dir->table >= size || dir->count == 0) continue;
    for (std::uint64_t j = 0; j < dir->count; ++j) {
      const std::uint64_t entry = dir->table + kEntrySize * j;
      if (!image.Contains(entry, kEntrySize)) break;
      if (++result.entries > max_entries) return RejectNotSelectedType();
      if (result.split) ++result.region2_entries;
      const std::uint64_t offset = ReadU32(image, entry + kNameSize, order);
      const std::uint64_t length = ReadU32(image, entry + kNameSize + 4, order);
      const std::uint64_t start = dir->base + offset;
      if (start + length >= size) continue;  // points outside: skipped
      bytes += length;
      if (bytes > max_bytes) return RejectNotSelectedType();
      AnadeNodo(image.Sub(start, length), LeeNombre(image, entry, kNameSize), *fw.Tree, node);
      ++result.files_added;
      if (on_file) on_file(*dir, start, length);
    }
  }
  return Result::Ok();
}

// ---------------------------------------------------------------------------------------------

std::vector<DirectorySize> MeasureDirectories(const TNodo& root, std::uint32_t mask) {
  std::vector<DirectorySize> dirs;
  dirs.reserve(root.ChildCount());
  for (std::size_t i = 0; i < root.ChildCount(); ++i) {
    const TNodo& d = *root.Child(i);
    dirs.push_back({&d, SumaTamanos(d, mask), static_cast<std::uint32_t>(d.ChildCount())});
  }
  return dirs;
}

std::uint64_t TotalData(const std::vector<DirectorySize>& dirs, std::size_t from) {
  std::uint64_t total = 0;
  for (std::size_t i = from; i < dirs.size(); ++i) total += dirs[i].data;
  return total;
}

std::uint64_t TotalFiles(const std::vector<DirectorySize>& dirs, std::size_t from) {
  std::uint64_t total = 0;
  for (std::size_t i = from; i < dirs.size(); ++i) total += dirs[i].files;
  return total;
}

RegionPlan PlanTwoRegions(const TFirmware& fw, const std::vector<DirectorySize>& dirs,
                          std::uint64_t table_start, std::uint64_t data_end,
                          std::uint64_t table_end, bool may_switch) {
  RegionPlan plan{{}, dirs.size()};
  plan.placements.reserve(dirs.size());
  std::uint64_t data = fw.AreaStart;
  std::uint64_t table = table_start;
  bool switched = false;
  for (std::size_t i = 0; i < dirs.size(); ++i) {
    const DirectorySize& d = dirs[i];
    if (may_switch && !switched &&
        (table + kEntrySize * std::uint64_t{d.files} > table_end || data + d.data > data_end)) {
      switched = true;
      plan.first_in_region2 = i;
      data = fw.SecondAreaStart;
      table = std::uint64_t{fw.SecondAreaStart} + TotalData(dirs, i);
    }
    Placement p{data, table};
    if (switched) p.data_limit = p.table_limit = fw.SecondAreaEnd;
    plan.placements.push_back(p);
    data += d.data;
    table += kEntrySize * std::uint64_t{d.files};
  }
  return plan;
}

DirectoryWriting CommonWriting(const TFirmware& fw, const TableShape& shape) {
  DirectoryWriting w;
  w.shape = shape;
  w.table = fw.TableOffset;
  w.capacity = fw.DirectoryCapacity;
  w.counts_at = shape.Counts(fw.TableOffset, fw.DirectoryCapacity);
  w.address_array = fw.AddressTableOffset;
  const std::uint32_t base = fw.BaseAddress;
  w.data_address = [base](std::uint64_t offset) {
    return static_cast<std::uint32_t>(offset + base);
  };
  w.table_address = w.data_address;
  return w;
}

std::vector<Range> TableRanges(const DirectoryWriting& w) {
  std::vector<Range> ranges;
  // Count and records up to the end of the count array.
  ranges.push_back({w.table, std::max<std::uint64_t>(w.counts_at + 4ull * w.capacity,
                                                     w.shape.Record(w.table, w.capacity))});
  if (w.address_array) ranges.push_back({*w.address_array, *w.address_array + 4ull * w.capacity});
  return ranges;
}

bool LayoutIsSound(const DirectoryWriting& w, const std::vector<DirectorySize>& dirs,
                   const std::vector<Placement>& places, std::uint64_t buffer_size,
                   std::vector<Range> reserved) {
  if (dirs.size() > w.capacity || places.size() != dirs.size()) return false;
  for (const Range& r : TableRanges(w)) {
    if (r.end > buffer_size) return false;
    reserved.push_back(r);
  }
  std::vector<Range> used = std::move(reserved);
  for (std::size_t i = 0; i < dirs.size(); ++i) {
    const Placement& p = places[i];
    std::uint64_t raw = 0;  // the bytes actually copied (no padding)
    for (std::size_t k = 0; k < dirs[i].node->ChildCount(); ++k)
      raw += dirs[i].node->Child(k)->Data.Tamano;
    const Range data{p.data, p.data + raw};
    const Range table{p.table, p.table + kEntrySize * std::uint64_t{dirs[i].files}};
    if (data.end > buffer_size || table.end > buffer_size) return false;
    if (p.data + dirs[i].data > p.data_limit || table.end > p.table_limit) return false;
    if (data.end > data.start) used.push_back(data);
    if (table.end > table.start) used.push_back(table);
  }
  std::sort(used.begin(), used.end(),
            [](const Range& a, const Range& b) { return a.start < b.start; });
  for (std::size_t i = 1; i < used.size(); ++i)
    if (used[i].start < used[i - 1].end) return false;
  return true;
}

void WriteDirectory(const DirectoryWriting& w, MutableByteView out, std::size_t index,
                    const DirectorySize& dir, const Placement& place) {
  const TableShape& shape = w.shape;
  const std::uint64_t record = shape.Record(w.table, index);
  EscribeNombre(out, record, dir.node->Text, kNameSize);
  const std::uint32_t address = w.data_address(place.data);
  if (shape.order == ByteOrder::Little)
    out.WriteLE(record + shape.address_at, address, shape.address_bytes);
  else
    out.WriteBE(record + shape.address_at, address, shape.address_bytes);
  shape.Write(out, w.counts_at + 4ull * index, dir.files);
  if (w.address_array)
    shape.Write(out, *w.address_array + 4ull * index, w.table_address(place.table));
  std::uint64_t offset = 0;
  for (std::size_t k = 0; k < dir.node->ChildCount(); ++k) {
    const TNodo& file = *dir.node->Child(k);
    const std::uint64_t entry = place.table + kEntrySize * k;
    EscribeNombre(out, entry, file.Text, kNameSize);
    shape.Write(out, entry + kNameSize, static_cast<std::uint32_t>(offset));
    shape.Write(out, entry + kNameSize + 4, file.Data.Tamano);
    if (!file.IsDirectory())
      out.Copy(place.data + offset, file.Data.View().Sub(0, file.Data.Tamano));
    offset += file.Data.Tamano;
  }
}

void WriteDirectories(const DirectoryWriting& w, MutableByteView out,
                      const std::vector<DirectorySize>& dirs,
                      const std::vector<Placement>& places) {
  w.shape.Write(out, w.table, static_cast<std::uint32_t>(dirs.size()));
  for (std::size_t i = 0; i < dirs.size(); ++i) WriteDirectory(w, out, i, dirs[i], places[i]);
}

Bytes ImageBuffer(const TFirmware& fw, Bytes reuse) {
  // One allocation of the final size: growing a copy would hold two image-sized buffers.
  Bytes buffer = std::move(reuse);
  buffer.clear();
  ReserveLarge(buffer, fw.FileSize);
  buffer.assign(fw.Image.begin(), fw.Image.begin() + std::min<std::size_t>(fw.Image.size(), fw.FileSize));
  buffer.resize(fw.FileSize, 0);
  return buffer;
}

Result PutFontsBack(const TFirmware& fw, const SaveOptions& options, MutableByteView out,
                    FontRefusal refusal) {
  const ModelDescriptor* model = FindModel(fw.Model);
  if (model == nullptr || !model->fonts_in_image || options.use_external_fonts ||
      options.fonts == nullptr || fw.ForceExternalFonts)
    return Result::Ok();
  if (const auto misfit = options.fonts->FirstMisfit(fw)) {
    if (refusal == FontRefusal::kPlain) return Result::Refused(Message::FromRow(rows::kFontsTooBig));
    return Result::Refused(Message::FromRow(rows::kFontsOf)
                               .Text(" " + misfit->name + "-" + std::to_string(misfit->size) + " ")
                               .Row(rows::kFontsOfTooBig));
  }
  options.fonts->Write(fw, out, model->family->font_order);
  return Result::Ok();
}

Result OpenCommonTable(TFirmware& fw, std::string_view marker, std::uint64_t from,
                       std::size_t gap, const TableShape& shape, bool file_table_block) {
  const auto table = FindTable(fw.Image, marker, from, gap);
  if (!table) return RejectTableNotFound();
  fw.TableOffset = ToField(*table);
  ReadTableHeader(fw, fw.Image, shape, file_table_block);
  return Result::Ok();
}

Result WalkTree(TFirmware& fw, ByteView image, const DirectoryReading& reading, WalkResult& walk) {
  StartTree(fw);
  return WalkDirectories(fw, image, reading.shape.order, fw.DirectoryCount,
                         MakeDirectoryReader(image, reading), true, walk);
}

Result WalkCommonTree(TFirmware& fw, const TableShape& shape, WalkResult& walk) {
  return WalkTree(fw, fw.Image, CommonReading(fw, shape), walk);
}

void FinishRegions(TFirmware& fw, const WalkResult& walk, std::uint64_t run) {
  if (walk.split) {
    CloseSecondRegion(fw, walk);
  } else {
    EraseRange(fw.Image, fw.FileTableOffset, fw.AddressTableOffset);
    OpenSecondRegionAtRun(fw, fw.TableOffset, run);
  }
}

bool FitsFirstRegion(const TFirmware& fw, const std::vector<DirectorySize>& dirs) {
  return fw.AreaStart + TotalData(dirs) <= fw.TableOffset &&
         fw.FileTableOffset + kEntrySize * TotalFiles(dirs) <= fw.AddressTableOffset;
}

std::optional<FirstRegionWriter> BeginFirstRegionWriter(const TFirmware& fw, std::uint32_t mask,
                                                        const TableShape& shape) {
  const TNodo* root = fw.Root();
  if (root == nullptr) return std::nullopt;
  std::vector<DirectorySize> dirs = MeasureDirectories(*root, mask);
  if (!FitsFirstRegion(fw, dirs)) return std::nullopt;
  RegionPlan plan = PlanTwoRegions(fw, dirs, fw.FileTableOffset, kNoLimit, kNoLimit, false);
  return FirstRegionWriter{std::move(dirs), std::move(plan), CommonWriting(fw, shape)};
}

Result FinishFirstRegionWriter(
    const TFirmware& fw, const FirstRegionWriter& writer,
    const std::function<void(MutableByteView image, std::uint64_t used)>& fill, Bytes& out) {
  if (!LayoutIsSound(writer.writing, writer.dirs, writer.plan.placements, fw.FileSize))
    return Result::Refused(TooManyFilesMessage());
  Bytes buffer = ImageBuffer(fw, std::move(out));
  fill(buffer, writer.dirs.size());
  WriteDirectories(writer.writing, buffer, writer.dirs, writer.plan.placements);
  out = std::move(buffer);
  return Result::Ok();
}

Result WriteCommonImage(const TFirmware& fw, const SaveOptions& options,
                        const DirectoryWriting& writing, const std::vector<DirectorySize>& dirs,
                        const std::vector<Placement>& places, FontRefusal refusal, Bytes& out) {
  if (!LayoutIsSound(writing, dirs, places, fw.FileSize))
    return Result::Refused(TooManyFilesMessage());
  Bytes buffer = ImageBuffer(fw, std::move(out));
  WriteDirectories(writing, buffer, dirs, places);
  Result fonts = PutFontsBack(fw, options, buffer, refusal);
  if (!fonts) return fonts;
  out = std::move(buffer);
  return Result::Ok();
}

}  // namespace corvane::dirtable
