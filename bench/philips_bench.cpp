// Open and save of a full-size image of each Philips family (models 8, 19, 25, 27): 40 directories
// of 25 files each.
#include <benchmark/benchmark.h>

#include <string>

#include "firmware/firmware.h"

namespace corvane {
namespace {

constexpr std::uint32_t kDirs = 40;
constexpr std::uint32_t kFilesPerDir = 25;
constexpr std::uint32_t kFileSize = 600;

struct Shape {
  std::uint32_t length, table, data, record;
  bool little;
  bool addresses;        // an address array after the block
  std::uint32_t base;    // data/table address of image offset 0
  bool m6071 = false;
};

Shape ShapeOf(int model) {
  switch (model) {
    case 8: return {0x200000, 0x180000, 0x20000, 16, true, true, 0x80000000};
    case 25: return {0x100000, 0xC0000, 0x10000, 30, false, false, 0};
    case 27: return {0x200000, 0x100000, 0x20000, 32, true, true, 0x9FC00000};
    default: return {0x200000, 0x110000, 0x140000, 32, true, true, 0x7FE00000, true};
  }
}

// A valid image written straight from the on-image format.
Bytes MakeImage(int model) {
  const Shape s = ShapeOf(model);
  Bytes b(s.length, 0x11);
  auto num = [&](std::size_t p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      b[p + static_cast<std::size_t>(i)] =
          static_cast<std::uint8_t>(v >> (s.little ? 8 * i : 8 * (3 - i)));
  };
  const std::size_t t = s.table;
  const std::size_t counts = t + 4 + s.record * kDirs + (s.m6071 ? 16 : 0);
  const std::size_t array = counts + 4 * kDirs;
  const std::size_t block = s.m6071 ? array + 4 * kDirs + 8 : array;
  const std::size_t table_array = block + 20 * kDirs * kFilesPerDir + (s.m6071 ? 0 : 40);
  if (s.m6071) {
    const std::string marker = "MODULE ADD.FLASH";
    std::copy(marker.begin(), marker.end(), b.begin() + static_cast<std::ptrdiff_t>(t - 16));
    std::fill(b.begin() + static_cast<std::ptrdiff_t>(counts - 16),
              b.begin() + static_cast<std::ptrdiff_t>(counts), 0);
    std::fill(b.begin() + static_cast<std::ptrdiff_t>(array + 4 * kDirs),
              b.begin() + static_cast<std::ptrdiff_t>(block), 0);
  } else {
    std::fill(b.begin() + static_cast<std::ptrdiff_t>(table_array - 40),
              b.begin() + static_cast<std::ptrdiff_t>(table_array), 0xFF);
  }
  num(t, kDirs);
  std::size_t data = s.data;
  std::size_t entry = block;
  for (std::uint32_t d = 0; d < kDirs; ++d) {
    const std::size_t rec = t + 4 + s.record * d;
    std::fill(b.begin() + static_cast<std::ptrdiff_t>(rec),
              b.begin() + static_cast<std::ptrdiff_t>(rec + s.record), 0);
    const std::string name = d == 0 ? "boot" : "dir" + std::to_string(d);
    std::copy(name.begin(), name.end(), b.begin() + static_cast<std::ptrdiff_t>(rec));
    const std::uint32_t extra = model == 8 ? 16 * kDirs : 0;
    if (s.record == 30)
      num(rec + 10, static_cast<std::uint32_t>(data));
    else
      num(rec + 12, static_cast<std::uint32_t>(data + s.base - extra));
    num(counts + 4 * d, kFilesPerDir);
    const std::uint32_t table_base = s.m6071 ? 0xBFC40000u : s.base;
    if (s.addresses) num((s.m6071 ? array : table_array) + 4 * d, static_cast<std::uint32_t>(entry + table_base));
    for (std::uint32_t f = 0; f < kFilesPerDir; ++f) {
      const std::string fname = "file" + std::to_string(f) + ".cpz";
      std::fill(b.begin() + static_cast<std::ptrdiff_t>(entry),
                b.begin() + static_cast<std::ptrdiff_t>(entry + 12), 0);
      std::copy(fname.begin(), fname.end(), b.begin() + static_cast<std::ptrdiff_t>(entry));
      num(entry + 12, f * kFileSize);
      num(entry + 16, kFileSize);
      entry += 20;
    }
    data += kFilesPerDir * kFileSize;
  }
  return b;
}

void BM_OpenPhilipsFamily(benchmark::State& state) {
  const int model = static_cast<int>(state.range(0));
  const Bytes file = MakeImage(model);
  for (auto _ : state) {
    TArbol tree;
    TFirmware fw;
    const Result r = fw.CreateFromBytes("bench.bin", file, tree, model);
    if (!r.ok() || tree.Root()->ChildCount() != kDirs) state.SkipWithError("image refused");
    benchmark::DoNotOptimize(tree.Root());
  }
}

void BM_SavePhilipsFamily(benchmark::State& state) {
  const int model = static_cast<int>(state.range(0));
  TArbol tree;
  TFirmware fw;
  if (!fw.CreateFromBytes("bench.bin", MakeImage(model), tree, model).ok()) {
    state.SkipWithError("image refused");
    return;
  }
  for (auto _ : state) {
    Bytes out;
    if (!fw.Build(SaveOptions{}, out).ok()) state.SkipWithError("save refused");
    benchmark::DoNotOptimize(out.data());
  }
}

BENCHMARK(BM_OpenPhilipsFamily)->Arg(8)->Arg(19)->Arg(25)->Arg(27)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePhilipsFamily)->Arg(8)->Arg(19)->Arg(25)->Arg(27)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane
