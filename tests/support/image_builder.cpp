#include "support/image_builder.h"

#include "support/image_canvas.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace corvane::test {

namespace {

enum class Kind { Pioneer, Strong, Nokia, Asscom, TS1A, TS2 };

constexpr std::uint32_t kGap = 64;  // bytes of 0xFF after the last file table (room to grow)
// Sony TS2: free-looking entries (0xFF) between the file tables and the address array.
constexpr std::uint32_t kTs2FreeEntries = 3;

struct Geometry {
  Kind kind;
  bool little;
  std::uint32_t record_size;
  std::uint32_t records_at;  // from T to the first record
  std::uint32_t address_at;  // data address inside a record
  bool block;                // file-table block after the counts
  std::uint32_t base;
  std::uint32_t second_base;
  std::uint32_t blocks;         // Strong: flash area 1 blocks
  std::uint32_t second_blocks;  // Strong: flash area 2 blocks
  std::uint32_t length;         // file length, or the Strong image size
  std::uint32_t table;          // where the directory table goes
  std::uint32_t area;           // data start, for families whose data lies before the table
  std::uint32_t region2;        // second-region data start
  std::uint32_t crc_offset;
  std::uint32_t crc_blocks;
  bool name_marker;     // the file begins with the first directory's name
  std::uint32_t align;  // data alignment
};

Geometry GeometryOf(int model) {
  using K = Kind;
  // clang-format off
  switch (model) {
    case 1: return {K::Pioneer, true, 32, 4, 12, true, 0x7FE00000, 0, 0, 0, 0x180000, 0x100000, 0x1000, 0x150000, 0, 0, true, 4};
    case 2: return {K::Pioneer, true, 32, 4, 12, true, 0x60000000, 0, 0, 0, 0x180000, 0x100000, 0x1000, 0x150000, 0x13FC00, 20, true, 4};
    case 3: return {K::Pioneer, true, 32, 4, 12, true, 0x7FE00000, 0, 0, 0, 0x180000, 0x100000, 0x1000, 0x150000, 0x11FC00, 18, true, 4};
    case 10: return {K::Pioneer, true, 32, 4, 12, true, 0x7FE00000, 0, 0, 0, 0x200000, 0x100000, 0x1000, 0x150000, 0, 0, true, 4};
    case 12: return {K::Pioneer, true, 32, 4, 12, false, 0x7FF00000, 0, 0, 0, 0x100000, 0xC8000, 0x20000, 0xE0000, 0, 0, false, 4};
    case 20: return {K::Pioneer, true, 32, 4, 12, true, 0x7FF00000, 0, 0, 0, 0x100000, 0xC8000, 0x20000, 0xE0000, 0, 0, false, 4};
    case 22: return {K::Pioneer, true, 32, 4, 12, true, 0x7FE00000, 0, 0, 0, 0x180000, 0x100000, 0x1000, 0x150000, 0x12FC00, 19, true, 4};
    case 5: return {K::Strong, false, 32, 4, 12, false, 0x81200000, 0x9FC00000, 16, 9, 25 * 0x10000, 0x10100, 0, 0xC0000, 0, 0, false, 4};
    case 6: return {K::Strong, false, 32, 4, 12, false, 0x94020000, 0, 64, 0, 64 * 0x10000, 0x160100, 0, 0x300000, 0, 0, false, 4};
    case 21: return {K::Strong, false, 32, 4, 12, false, 0x81200000, 0x9FC00000, 32, 16, 48 * 0x10000, 0x10100, 0, 0x100000, 0, 0, false, 4};
    case 9: return {K::Asscom, false, 32, 4, 12, false, 0x9FC10000, 0, 0, 0, 0x200000, 0x100100, 0, 0x1C0000, 0, 0, false, 4};
    case 13: case 23: return {K::Nokia, false, 32, 4, 12, true, 0x2C020000, 0, 0, 0, 0x200000, 0x180000, 0x20000, 0x1C0000, 0, 0, false, 4};
    case 16: return {K::TS1A, false, 32, 8, 12, true, 0x02000000, 0, 0, 0, 0x200000, 0x180000, 0x20000, 0x1C0000, 0, 0, false, 4};
    case 24: return {K::TS2, false, 30, 4, 10, true, 0x00C00000, 0, 0, 0, 0x100000, 0xC0000, 0x1000, 0, 0, 0, false, 2};
    default: throw std::invalid_argument("not a directory-table model");
  }
  // clang-format on
}

std::uint32_t TotalFiles(const std::vector<DirSpec>& dirs, bool second) {
  std::uint32_t n = 0;
  for (const auto& d : dirs)
    if (d.second_region == second) n += static_cast<std::uint32_t>(d.files.size());
  return n;
}

}  // namespace

Bytes PatternBytes(std::size_t length, std::uint8_t seed) {
  Bytes b(length);
  for (std::size_t i = 0; i < length; ++i)
    b[i] = static_cast<std::uint8_t>((i * 13 + seed * 29 + (i >> 7)) & 0xFF);
  return b;
}

std::uint32_t ReferenceCrc32(const Bytes& data, std::size_t start, std::size_t length) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = start; i < start + length && i < data.size(); ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::vector<DirSpec> SampleTree(bool with_second_region) {
  std::vector<DirSpec> dirs = {
      {"boot",
       {{"boot.cpz", PatternBytes(301, 1)},
        {"logo.imz", PatternBytes(7, 2)},
        {"main.luz", PatternBytes(64, 3)}},
       false},
      {"main", {{"menu.paz", PatternBytes(1000, 4)}, {"text.mpz", PatternBytes(51, 5)}}, false},
      {"void", {}, false},
  };
  if (with_second_region)
    dirs.push_back(
        {"extra", {{"more.cpz", PatternBytes(2049, 6)}, {"last.daz", PatternBytes(10, 7)}}, true});
  return dirs;
}

BuiltImage BuildImage(const ImageSpec& spec) {
  const Geometry g = GeometryOf(spec.model);
  const auto& dirs = spec.dirs;
  const std::uint32_t cap = spec.capacity;
  if (dirs.empty() || dirs.size() > cap) throw std::invalid_argument("directory count");
  bool seen_second = false;
  for (const auto& d : dirs) {
    if (seen_second && !d.second_region) throw std::invalid_argument("region order");
    seen_second = seen_second || d.second_region;
  }
  const bool split = seen_second;
  if (spec.markers && (!g.block || g.kind == Kind::TS2))
    throw std::invalid_argument("no file-table block scan in this model");
  const bool data_before_table = g.kind != Kind::Strong && g.kind != Kind::Asscom;

  std::uint32_t length = spec.file_length ? spec.file_length : g.length;
  Bytes img(length, kFiller);
  Canvas w(img, g.little);

  const std::size_t t = g.table;
  const std::size_t counts = t + g.records_at + std::size_t{g.record_size} * cap;
  const std::size_t after_counts = counts + 4ull * cap;

  // Data of each directory: region 1 and region 2 positions.
  std::vector<std::size_t> data_at(dirs.size());
  std::size_t address_table = after_counts;
  const std::size_t data_start =
      data_before_table ? g.area : AlignUp(after_counts + 4ull * cap, 16);
  std::size_t pos = data_start;
  std::size_t pos2 = g.region2;
  for (std::size_t i = 0; i < dirs.size(); ++i) {
    std::size_t& p = dirs[i].second_region ? pos2 : pos;
    data_at[i] = p;
    for (const auto& f : dirs[i].files) {
      w.Put(p, f.data);
      p += f.data.size();
    }
    const std::size_t end = AlignUp(p, g.align);
    w.Fill(p, end - p, 0xFF);
    p = end;
  }
  if (data_before_table && pos > t) throw std::invalid_argument("data runs into the table");

  // Where the file tables go.
  std::size_t table1;
  if (g.kind == Kind::Strong || g.kind == Kind::Asscom)
    table1 = AlignUp(pos, 4);
  else if (g.block)
    table1 = after_counts;
  else  // model 12: after the address array
    table1 = AlignUp(after_counts + 4ull * cap, 16);
  std::size_t table2 = AlignUp(pos2, 4);

  std::vector<std::size_t> table_at(dirs.size());
  std::size_t tp = table1;
  std::size_t tp2 = table2;
  for (std::size_t i = 0; i < dirs.size(); ++i) {
    std::size_t& p = dirs[i].second_region ? tp2 : tp;
    table_at[i] = p;
    std::uint32_t offset = 0;
    for (const auto& f : dirs[i].files) {
      if (g.block && !dirs[i].second_region)
        for (std::size_t k = 0; k < 4; ++k)
          if (k >= f.name.size() || !IsNameChar(static_cast<std::uint8_t>(f.name[k])))
            throw std::invalid_argument("block entry names need four name characters");
      w.Text(p, f.name, 12);
      w.Number(p + 12, offset);
      w.Number(p + 16, static_cast<std::uint32_t>(f.data.size()));
      offset += static_cast<std::uint32_t>(f.data.size());
      p += 20;
    }
    // A table in the block may be followed by 4E 71 4E 71 (entries are read at table + 20 j,
    // so the marker can only close a directory's table).
    if (spec.markers && !dirs[i].files.empty() && !dirs[i].second_region) {
      w.Put(p, {0x4E, 0x71, 0x4E, 0x71});
      p += 4;
    }
  }
  if (g.block) {
    address_table = tp;
    const std::uint32_t spare = g.kind == Kind::TS2 ? kTs2FreeEntries : spec.spare_entries;
    w.Fill(tp, 20ull * spare, 0xFF);
    address_table = tp + 20ull * spare;
  } else {
    w.Fill(tp, kGap, 0xFF);
  }
  if (split) w.Fill(tp2, kGap, 0xFF);

  // The directory table.
  w.Number(t, static_cast<std::uint32_t>(dirs.size()));
  if (g.records_at == 8) w.Number(t + 4, 1);
  for (std::uint32_t i = 0; i < cap; ++i) {
    const std::size_t record = t + g.records_at + std::size_t{g.record_size} * i;
    w.Fill(record, g.record_size, 0);
    w.Fill(counts + 4ull * i, 4, 0);
    w.Fill(address_table + 4ull * i, 4, 0);
    if (i >= dirs.size()) continue;
    w.Text(record, dirs[i].name, g.address_at < 12 ? g.address_at : 12);
    w.Number(record + g.address_at, static_cast<std::uint32_t>(data_at[i] + g.base));
    w.Number(counts + 4ull * i, static_cast<std::uint32_t>(dirs[i].files.size()));
    w.Number(address_table + 4ull * i, static_cast<std::uint32_t>(table_at[i] + g.base));
  }

  if (g.name_marker) w.Text(0, dirs[0].name, dirs[0].name.size() + 1);
  if (spec.free_run_length) w.Fill(spec.free_run_at, spec.free_run_length, 0xFF);
  const bool ts6 = spec.ts6 == 1 || (spec.ts6 < 0 && spec.model == 3 && length == 0x180000);
  if (ts6) w.Put(0x80, {'/', 'T', 'S', '6', '/'});

  BuiltImage out;
  ImageLayout& e = out.layout;
  e.TableOffset = static_cast<std::uint32_t>(t);
  e.DirectoryCount = static_cast<std::uint32_t>(dirs.size());
  e.DirectoryCapacity = cap;
  e.FileTableOffset = static_cast<std::uint32_t>(table1);
  e.AddressTableOffset = static_cast<std::uint32_t>(address_table);
  e.AreaStart = static_cast<std::uint32_t>(data_at[0]);
  e.BaseAddress = g.base;
  e.SecondBaseAddress = g.second_base;
  const std::uint32_t files1 = TotalFiles(dirs, false);
  const std::uint32_t files2 = TotalFiles(dirs, true);
  if (g.kind == Kind::TS2) {
    e.SecondAreaEnd =
        static_cast<std::uint32_t>(table1 + 20ull * files1 + 20ull * kTs2FreeEntries);
  } else if (split) {
    e.AreaEnd = static_cast<std::uint32_t>(SkipBlank(img, table1 + 20ull * files1));
    std::size_t first2 = 0;
    while (!dirs[first2].second_region) ++first2;
    e.SecondAreaStart = static_cast<std::uint32_t>(data_at[first2]);
    e.SecondAreaEnd = static_cast<std::uint32_t>(SkipBlank(img, table2 + 20ull * files2));
  } else if (g.kind == Kind::Strong || g.kind == Kind::Asscom) {
    const auto end = static_cast<std::uint32_t>(SkipBlank(img, table1 + 20ull * files1));
    if (g.kind == Kind::Strong) e.AreaEnd = end;
    e.SecondAreaEnd = end;
    if (spec.model == 6) {
      e.SecondAreaEnd = 0;
      if (spec.free_run_length >= 0x10000) {
        e.SecondAreaStart = spec.free_run_at;
        e.SecondAreaEnd =
            static_cast<std::uint32_t>(SkipBlank(img, spec.free_run_at + spec.free_run_length));
      }
    }
  } else if (spec.model == 12) {
    // The first run of 15 bytes of 0xFF from the start, once the data area has been erased.
    Bytes erased = img;
    std::fill(erased.begin() + data_start, erased.begin() + static_cast<std::ptrdiff_t>(t), 0xFF);
    const std::size_t run = Find(erased, Bytes(15, 0xFF), 0);
    const std::size_t start = run / 4 * 4 == run ? run : AlignUp(run, 4);
    std::size_t end = start;
    while (end < erased.size() && erased[end] == 0xFF) ++end;
    e.SecondAreaStart = static_cast<std::uint32_t>(start);
    e.SecondAreaEnd = static_cast<std::uint32_t>(SkipBlank(erased, end));
  } else {
    const std::uint32_t needed = g.kind == Kind::Nokia ? 0xA000 : 0x10000;
    if (spec.free_run_length >= needed) {
      e.SecondAreaStart = spec.free_run_at;
      e.SecondAreaEnd =
          static_cast<std::uint32_t>(SkipBlank(img, spec.free_run_at + spec.free_run_length));
    }
  }
  if (spec.extra) spec.extra(img);

  // Block checksums, stored big-endian; model 22 keeps a second copy.
  if (g.crc_blocks != 0) {
    for (std::uint32_t b = 0; b < g.crc_blocks; ++b) {
      const std::size_t n = b + 1 == g.crc_blocks ? 0xFC00 : 0x10000;
      const std::uint32_t crc = ReferenceCrc32(img, std::size_t{b} * 0x10000, n);
      for (std::size_t copy = 0; copy < (spec.model == 22 ? 2u : 1u); ++copy) {
        const std::size_t at = g.crc_offset + copy * 0x2000C + 4ull * b;
        for (int k = 0; k < 4; ++k)
          w.At(at + static_cast<std::size_t>(k)) = static_cast<std::uint8_t>(crc >> (24 - 8 * k));
      }
    }
  }

  e.ImageSize = length;
  e.FileSize = length;
  if (g.kind != Kind::Strong) {
    out.file = img;
    out.image = std::move(img);
    return out;
  }

  // Strong block file: records of 4 unused bytes, the big-endian flash address, 64 KB of flash.
  const std::uint32_t total = g.blocks + g.second_blocks;
  std::vector<int> order = spec.record_order;
  if (order.empty()) {
    order.resize(total);
    std::iota(order.begin(), order.end(), 0);
  }
  for (const int r : order) {
    const auto i = static_cast<std::uint32_t>(r);
    if (i >= total) throw std::invalid_argument("record number");
    const bool second = i >= g.blocks;
    if (second && spec.omit_area2) continue;
    const std::uint32_t address = second ? g.second_base + 0x20000000u + (i - g.blocks) * 0x10000u
                                         : g.base + 0x20000000u + i * 0x10000u;
    const std::size_t at = out.file.size();
    out.file.resize(at + 0x10008);
    out.file[at] = 'R';
    out.file[at + 1] = static_cast<std::uint8_t>(i);
    out.file[at + 2] = 0x5A;
    out.file[at + 3] = 0xA5;
    for (int k = 0; k < 4; ++k)
      out.file[at + 4 + static_cast<std::size_t>(k)] =
          static_cast<std::uint8_t>(address >> (24 - 8 * k));
    std::copy_n(img.begin() + static_cast<std::ptrdiff_t>(std::size_t{i} * 0x10000), 0x10000,
                out.file.begin() + static_cast<std::ptrdiff_t>(at + 8));
  }
  if (spec.omit_area2)
    std::fill(img.begin() + static_cast<std::ptrdiff_t>(std::size_t{g.blocks} * 0x10000), img.end(),
              0);
  e.FileSize = static_cast<std::uint32_t>(out.file.size());
  out.image = std::move(img);
  return out;
}

}  // namespace corvane::test
