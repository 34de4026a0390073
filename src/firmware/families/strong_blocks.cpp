#include "firmware/families/strong_blocks.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace corvane {

bool HasStrongBlockShape(ByteView file) {
  std::vector<std::uint32_t> addresses;
  for (std::size_t pos = 0; pos < file.size(); pos += kStrongRecordSize) {
    if (!file.Contains(pos, kStrongHeaderSize)) return false;
    const std::uint32_t address = file.u32be(pos + 4);
    if (address % kBlockSize != 0) return false;
    addresses.push_back(address);
  }
  std::sort(addresses.begin(), addresses.end());
  return !addresses.empty() &&
         std::adjacent_find(addresses.begin(), addresses.end()) == addresses.end();
}

std::optional<std::size_t> FindStrongRecord(ByteView file, std::uint32_t address) {
  for (std::size_t pos = 0; file.Contains(pos, kStrongHeaderSize); pos += kStrongRecordSize)
    if (file.u32be(pos + 4) == address) return pos;
  return std::nullopt;
}

std::size_t StrongFileLayout::size() const {
  std::size_t total = tail.size();
  for (const Record& r : records) total += kStrongHeaderSize + r.length;
  return total;
}

bool StrongFileLayout::WritesBlock(std::size_t block) const {
  return std::ranges::any_of(records, [block](const Record& r) {
    return r.block != kKept && static_cast<std::size_t>(r.block) == block;
  });
}

namespace {

constexpr std::int32_t kNone = -1;

std::uint8_t* Slot(Bytes& buffer, std::size_t i) { return buffer.data() + i * kBlockSize; }

// Swaps the 64 KB slots of `buffer` until slot q holds the block want[q] names (kNone: any).
// at[q] names the block slot q holds now. Block numbers are below at.size(); each is held and
// wanted at most once. Every swap puts one block in its final slot.
void ArrangeSlots(Bytes& buffer, std::vector<std::int32_t> at, const std::vector<std::int32_t>& want) {
  std::vector<std::int32_t> where(at.size(), kNone);
  Bytes spare;  // one slot, for swapping
  for (std::size_t q = 0; q < at.size(); ++q)
    if (at[q] != kNone) where[static_cast<std::size_t>(at[q])] = static_cast<std::int32_t>(q);
  for (std::size_t q = 0; q < want.size(); ++q) {
    if (want[q] == kNone) continue;
    const auto p = static_cast<std::size_t>(where[static_cast<std::size_t>(want[q])]);
    if (p == q) continue;
    if (spare.empty()) spare.resize(kBlockSize);
    std::memcpy(spare.data(), Slot(buffer, p), kBlockSize);
    std::memcpy(Slot(buffer, p), Slot(buffer, q), kBlockSize);
    std::memcpy(Slot(buffer, q), spare.data(), kBlockSize);
    std::swap(at[p], at[q]);
    where[static_cast<std::size_t>(at[q])] = static_cast<std::int32_t>(q);
    if (at[p] != kNone) where[static_cast<std::size_t>(at[p])] = static_cast<std::int32_t>(p);
  }
}

// File offset of each record's data, in file order.
std::vector<std::size_t> DataOffsets(const StrongFileLayout& file) {
  std::vector<std::size_t> offsets;
  offsets.reserve(file.records.size());
  std::size_t pos = 0;
  for (const auto& r : file.records) {
    offsets.push_back(pos + kStrongHeaderSize);
    pos += kStrongHeaderSize + r.length;
  }
  return offsets;
}

}  // namespace

StrongFileLayout StrongFileToImage(Bytes& buffer, std::span<const StrongImageBlock> blocks,
                                  std::vector<bool>& found) {
  std::unordered_map<std::uint32_t, std::int32_t> block_of;
  for (std::size_t i = blocks.size(); i-- > 0;) block_of[blocks[i].address] = static_cast<std::int32_t>(i);
  found.assign(blocks.size(), false);

  // First what the image will not hold, while the file is still as read.
  StrongFileLayout file;
  struct Move {
    std::size_t from;
    std::size_t length;
    std::int32_t block;
  };
  std::vector<Move> moves;
  const ByteView view(buffer);
  std::size_t pos = 0;
  for (; view.Contains(pos, kStrongHeaderSize); pos += kStrongRecordSize) {
    StrongFileLayout::Record record;
    std::copy_n(buffer.data() + pos, kStrongHeaderSize, record.header.begin());
    const std::size_t data = pos + kStrongHeaderSize;
    record.length = static_cast<std::uint32_t>(std::min(kBlockSize, buffer.size() - data));
    const auto known = block_of.find(view.u32be(pos + 4));
    const std::int32_t block = known != block_of.end() ? known->second : kNone;
    const bool first = block != kNone && !found[static_cast<std::size_t>(block)];
    if (first) {
      found[static_cast<std::size_t>(block)] = true;
      moves.push_back({data, record.length, block});
    }
    if (first && blocks[static_cast<std::size_t>(block)].written_back)
      record.block = block;
    else
      file.kept.insert(file.kept.end(), buffer.begin() + static_cast<std::ptrdiff_t>(data),
                       buffer.begin() + static_cast<std::ptrdiff_t>(data + record.length));
    file.records.push_back(record);
  }
  file.tail.assign(buffer.begin() + static_cast<std::ptrdiff_t>(std::min(pos, buffer.size())), buffer.end());

  // The data of the records found moves down into consecutive slots (each lands below where it
  // was, past the ones already moved), then the slots swap into image order: records stored in
  // image order need no swap at all.
  const std::size_t image_size = blocks.size() * kBlockSize;
  if (buffer.size() < image_size) buffer.resize(image_size);
  std::vector<std::int32_t> at(blocks.size(), kNone);
  std::vector<std::int32_t> want(blocks.size(), kNone);
  for (std::size_t j = 0; j < moves.size(); ++j) {
    std::memmove(Slot(buffer, j), buffer.data() + moves[j].from, moves[j].length);
    std::fill(Slot(buffer, j) + moves[j].length, Slot(buffer, j + 1), 0);
    at[j] = moves[j].block;
  }
  for (std::size_t q = 0; q < blocks.size(); ++q)
    if (found[q]) want[q] = static_cast<std::int32_t>(q);
  ArrangeSlots(buffer, std::move(at), want);
  for (std::size_t q = 0; q < blocks.size(); ++q)
    if (!found[q]) std::fill(Slot(buffer, q), Slot(buffer, q + 1), 0);
  buffer.resize(image_size);
  return file;
}

void StrongImageToFile(Bytes& buffer, const StrongFileLayout& file) {
  // The blocks the records take swap into consecutive slots in file order, then each moves up to
  // its record (past the slots still to move); headers and kept data fill the rest.
  std::vector<std::size_t> taking;  // records that take their data from the image
  std::size_t slots = buffer.size() / kBlockSize;
  for (std::size_t r = 0; r < file.records.size(); ++r) {
    if (file.records[r].block == StrongFileLayout::kKept) continue;
    taking.push_back(r);
    slots = std::max(slots, static_cast<std::size_t>(file.records[r].block) + 1);
  }
  buffer.resize(std::max({buffer.size(), slots * kBlockSize, file.size()}), 0);
  std::vector<std::int32_t> at(slots);
  std::vector<std::int32_t> want(slots, kNone);
  for (std::size_t q = 0; q < slots; ++q) at[q] = static_cast<std::int32_t>(q);
  for (std::size_t j = 0; j < taking.size(); ++j) want[j] = file.records[taking[j]].block;
  ArrangeSlots(buffer, std::move(at), want);

  const std::vector<std::size_t> offsets = DataOffsets(file);
  for (std::size_t j = taking.size(); j-- > 0;) {
    const std::size_t r = taking[j];
    std::memmove(buffer.data() + offsets[r], Slot(buffer, j), file.records[r].length);
  }
  std::size_t kept = 0;
  for (std::size_t r = 0; r < file.records.size(); ++r) {
    const auto& record = file.records[r];
    std::copy(record.header.begin(), record.header.end(), buffer.begin() + static_cast<std::ptrdiff_t>(offsets[r] - kStrongHeaderSize));
    if (record.block != StrongFileLayout::kKept) continue;
    std::copy_n(file.kept.begin() + static_cast<std::ptrdiff_t>(kept), record.length,
                buffer.begin() + static_cast<std::ptrdiff_t>(offsets[r]));
    kept += record.length;
  }
  const std::size_t end = file.size() - file.tail.size();
  std::copy(file.tail.begin(), file.tail.end(), buffer.begin() + static_cast<std::ptrdiff_t>(end));
  buffer.resize(file.size());
}

}  // namespace corvane
