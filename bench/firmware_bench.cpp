// Opening and saving an image of each directory-table family (targets: well under 10 ms each).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "firmware/firmware.h"
#include "support/image_builder.h"

namespace {

using corvane::Bytes;

// About 720 KB of files in 180 entries, in an image of the model's usual size.
const Bytes& ImageOf(int model) {
  static std::map<int, Bytes> cache;
  auto it = cache.find(model);
  if (it != cache.end()) return it->second;
  corvane::test::ImageSpec spec;
  spec.model = model;
  for (int d = 0; d < 3; ++d) {
    corvane::test::DirSpec dir{d == 0 ? "boot" : "dir" + std::to_string(d), {}, false};
    for (int f = 0; f < 60; ++f) {
      char name[16];
      std::snprintf(name, sizeof name, "f%03d.cpz", f);
      dir.files.push_back({name, corvane::test::PatternBytes(4000, static_cast<std::uint8_t>(f))});
    }
    spec.dirs.push_back(std::move(dir));
  }
  return cache.emplace(model, corvane::test::BuildImage(spec).file).first->second;
}

void BM_Open(benchmark::State& state) {
  const int model = static_cast<int>(state.range(0));
  const Bytes& file = ImageOf(model);
  for (auto _ : state) {
    corvane::TArbol tree;
    corvane::TFirmware fw;
    const auto r = fw.CreateFromBytes("bench.bin", file, tree, model);
    if (!r.ok()) state.SkipWithError("refused");
    benchmark::DoNotOptimize(fw.Image.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void BM_Save(benchmark::State& state) {
  const int model = static_cast<int>(state.range(0));
  const Bytes& file = ImageOf(model);
  corvane::TArbol tree;
  corvane::TFirmware fw;
  if (!fw.CreateFromBytes("bench.bin", file, tree, model).ok()) state.SkipWithError("refused");
  for (auto _ : state) {
    Bytes out;
    if (!fw.Build(corvane::SaveOptions{}, out).ok()) state.SkipWithError("not saved");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

// One model per family: Pioneer BCT-15xx (checksums), Kenwood (2 MB), Strong 8000 CONAX, Nokia
// 9850, Asscom, Sony TS1A, Sony TS2.
#define FAMILY_MODELS \
  ->Arg(2)->Arg(10)->Arg(21)->Arg(23)->Arg(9)->Arg(16)->Arg(24)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Open) FAMILY_MODELS;
BENCHMARK(BM_Save) FAMILY_MODELS;
#undef FAMILY_MODELS

}  // namespace
