#include "support/image_builder_philips.h"

#include "support/image_canvas.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace corvane::test {

namespace {

enum class Kind { Philips, PhilipsD, Dyna, M6071 };

struct Geometry {
  Kind kind;
  bool little;
  std::uint32_t record_size;
  std::uint32_t length;
  std::uint32_t search_start;
  std::uint32_t table;  // default T
  std::uint32_t data;   // first data area
  std::uint32_t align;
  std::uint32_t base;   // default flash base (setting for 19)
};

Geometry GeometryOf(int model) {
  using K = Kind;
  switch (model) {
    case 7:
      return {K::Philips, true, 16, 0x180000, 0x10000, 0x120000, 0x20000, 4, 0xBFC00000};
    case 8:
      return {K::Philips, true, 16, 0x200000, 0x90000, 0x180000, 0x20000, 4, 0xBFC00000};
    case 11:
      return {K::Philips, true, 16, 0x200000, 0x30000, 0x180000, 0x20000, 4, 0x80000000};
    case 25:
      return {K::PhilipsD, false, 30, 0x100000, 0x45000, 0x80000, 0x10000, 2, 0};
    case 26:
      return {K::PhilipsD, false, 30, 0x100000, 0x90000, 0xA0000, 0x10000, 2, 0};
    case 27:
      return {K::Dyna, true, 32, 0x200000, 0x90000, 0x100000, 0x20000, 4, 0x9FC00000};
    case 19:
      return {K::M6071, true, 32, 0x200000, 0x100000, 0x110000, 0x180000, 4, 0x7FE00000};
    default:
      throw std::invalid_argument("not a Philips-family model");
  }
}

constexpr std::uint32_t kDynaDataB = 0x1A32CC;
constexpr std::uint32_t kDynaTablesB = 0x1AF118;
constexpr char kMarker6071[] = "MODULE ADD.FLASH";

}  // namespace

std::uint32_t PhilipsSearchStart(int model) { return GeometryOf(model).search_start; }
std::uint32_t PhilipsLength(int model) { return GeometryOf(model).length; }

BuiltPhilipsImage BuildPhilipsImage(const PhilipsImageSpec& spec) {
  const Geometry g = GeometryOf(spec.model);
  const auto& dirs = spec.dirs;
  const std::uint32_t cap = spec.capacity;
  if (dirs.empty() || dirs.size() > cap) throw std::invalid_argument("directory count");
  if (dirs[0].files.empty()) throw std::invalid_argument("the first directory needs files");
  bool seen_second = false;
  for (const auto& d : dirs) {
    if (seen_second && !d.second_region) throw std::invalid_argument("region order");
    seen_second = seen_second || d.second_region;
    if (d.second_region && g.kind != Kind::Dyna && g.kind != Kind::M6071)
      throw std::invalid_argument("no second area in this model");
  }
  if (spec.markers && g.kind == Kind::M6071) throw std::invalid_argument("no block in the 6071");
  const std::uint32_t base = spec.base ? spec.base : g.base;
  const std::uint32_t length = spec.file_length ? spec.file_length : g.length;
  const std::size_t t = spec.table_at ? spec.table_at : g.table;
  const std::size_t r = g.record_size;

  Bytes img(length, kFiller);
  Canvas w(img, g.little);
  BuiltPhilipsImage out;
  out.data_at.resize(dirs.size());
  out.table_at.resize(dirs.size());

  // Table geometry.
  std::size_t counts = t + 4 + r * cap;
  if (g.kind == Kind::M6071) counts += 16;  // blank words between the records and the counts
  const std::size_t after_counts = counts + 4ull * cap;
  std::size_t block = after_counts;  // first file table
  if (g.kind == Kind::M6071) block = after_counts + 4ull * cap + 8;

  // File tables: the block (or the 6071's table area) and, for Dyna, its second table area.
  std::size_t tp = block;
  std::size_t tp2 = kDynaTablesB;
  std::uint32_t total_files = 0;
  for (std::size_t i = 0; i < dirs.size(); ++i) {
    const bool second = dirs[i].second_region && g.kind == Kind::Dyna;
    std::size_t& p = second ? tp2 : tp;
    out.table_at[i] = static_cast<std::uint32_t>(p);
    std::uint32_t offset = 0;
    for (const auto& f : dirs[i].files) {
      w.Text(p, f.name, 12);
      w.Number(p + 12, offset);
      w.Number(p + 16, static_cast<std::uint32_t>(f.data.size()));
      if (!second && g.kind != Kind::M6071 && !NameWord(img, p))
        throw std::invalid_argument("block entry names need four name characters");
      offset += static_cast<std::uint32_t>(f.data.size());
      p += 20;
    }
    total_files += static_cast<std::uint32_t>(dirs[i].files.size());
    if (spec.markers && !second && !dirs[i].files.empty()) {
      w.Put(p, {0x4E, 0x71, 0x4E, 0x71});
      p += 4;
    }
  }
  std::size_t address_array = 0;
  if (g.kind != Kind::M6071) {
    w.Fill(tp, 20ull * spec.spare_entries, 0xFF);
    address_array = tp + 20ull * spec.spare_entries;
  } else {
    address_array = after_counts;
  }
  if (g.kind == Kind::Dyna) w.Fill(tp2, 64, 0xFF);

  // Data.
  std::size_t dp = g.data;
  std::size_t dp2 = g.kind == Kind::Dyna ? kDynaDataB : AlignUp(tp + 0x40, 4);
  for (std::size_t i = 0; i < dirs.size(); ++i) {
    std::size_t& p = dirs[i].second_region ? dp2 : dp;
    out.data_at[i] = static_cast<std::uint32_t>(p);
    for (const auto& f : dirs[i].files) {
      w.Put(p, f.data);
      p += f.data.size();
    }
    const std::size_t end = AlignUp(p, g.align);
    w.Fill(p, end - p, 0xFF);
    p = end;
  }
  if (g.kind == Kind::M6071) {
    w.Fill(dp, 0x20, 0xFF);  // free words after each area
    if (seen_second) w.Fill(dp2, 0x20, 0xFF);
  }

  // The directory table.
  const std::uint32_t n = static_cast<std::uint32_t>(dirs.size());
  w.Number(t, n);
  std::size_t running = block;  // table address of a directory without files
  for (std::uint32_t i = 0; i < cap; ++i) {
    const std::size_t rec = t + 4 + r * i;
    w.Fill(rec, r, g.kind == Kind::M6071 && i >= n ? 0xFF : 0x00);
    w.Number(counts + 4ull * i, 0);
    if (g.kind != Kind::PhilipsD) w.Number(address_array + 4ull * i, 0);
    if (i >= n) continue;
    const auto& d = dirs[i];
    const std::size_t table = d.files.empty() ? running : out.table_at[i];
    if (!d.files.empty()) running = out.table_at[i] + 20 * d.files.size();
    w.Number(counts + 4ull * i, static_cast<std::uint32_t>(d.files.size()));
    switch (g.kind) {
      case Kind::Philips:
        w.Text(rec, d.name, 12);
        w.Number(rec + 12, static_cast<std::uint32_t>(out.data_at[i] + base - 16ull * cap));
        w.Number(address_array + 4ull * i, static_cast<std::uint32_t>(table + base));
        break;
      case Kind::PhilipsD:
        if (d.name.size() > 10) throw std::invalid_argument("names of at most 10 characters");
        w.Text(rec, d.name, 10);
        w.Number(rec + 10, out.data_at[i]);
        if (out.data_at[i] > 0xFFFFFF) throw std::invalid_argument("24-bit offsets");
        break;
      case Kind::Dyna:
        w.Text(rec, d.name, 12);
        w.Number(rec + 12, out.data_at[i] + base);
        w.Number(address_array + 4ull * i, static_cast<std::uint32_t>(table + base));
        break;
      case Kind::M6071:
        w.Text(rec, d.name, 12);
        w.Number(rec + 12, out.data_at[i] + base);
        w.Number(address_array + 4ull * i, static_cast<std::uint32_t>(table + spec.table_base));
        break;
    }
  }
  if (g.kind == Kind::M6071) {
    w.Fill(counts - 16, 16, 0x00);
    w.Fill(address_array + 4ull * cap, 8, 0x00);
    const std::string marker = kMarker6071;
    if (t < 16) throw std::invalid_argument("no room for the marker");
    w.Text(t - 16, marker, 16);
  }

  // What the loader should find.
  ImageLayout& e = out.layout;
  ImageLayout& c = e;
  c.TableOffset = static_cast<std::uint32_t>(t);
  c.DirectoryCount = n;
  c.DirectoryCapacity = cap;
  c.FileTableOffset = static_cast<std::uint32_t>(block);
  c.AddressTableOffset = static_cast<std::uint32_t>(address_array);
  c.AreaStart = out.data_at[0];
  c.FileSize = c.ImageSize = length;
  if (g.kind == Kind::Philips || g.kind == Kind::Dyna) e.BaseAddress = base;
  if (g.kind == Kind::M6071) {
    e.BaseAddress = base;
    e.SecondBaseAddress = spec.table_base;
    std::size_t end1 = c.AreaStart;
    std::size_t end2 = 0;
    bool any2 = false;
    for (std::size_t i = 0; i < dirs.size(); ++i) {
      std::size_t size = 0;
      for (const auto& f : dirs[i].files) size += f.data.size();
      if (size == 0) continue;
      const std::size_t end = AlignUp(out.data_at[i] + size, 4);
      if (out.data_at[i] >= c.AreaStart) {
        end1 = std::max(end1, end);
      } else {
        end2 = std::max(end2, end);
        any2 = true;
      }
    }
    c.AreaEnd = static_cast<std::uint32_t>(SkipBlank(img, end1));
    c.SecondAreaStart = static_cast<std::uint32_t>(block + 20ull * total_files);
    c.SecondAreaEnd = static_cast<std::uint32_t>(SkipBlank(img, any2 ? end2 : c.SecondAreaStart));
  } else {
    // The region split: the first directory whose data lies beyond the block start.
    std::uint32_t before = 0;
    for (std::size_t i = 0; i < dirs.size(); ++i) {
      if (out.data_at[i] > block) {
        c.SecondAreaStart = out.data_at[i];
        c.AreaEnd = static_cast<std::uint32_t>(SkipBlank(img, block + 20ull * before));
        break;
      }
      before += static_cast<std::uint32_t>(dirs[i].files.size());
    }
  }
  out.file = std::move(img);
  return out;
}

}  // namespace corvane::test
