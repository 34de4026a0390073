// Whole-image jobs over a 2 MB image (model 10) of 180 compressed text files of 8 KB each:
// extracting everything with decompression, and searching every file's contents for a string
// that is in none of them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "document/extraction.h"
#include "document/search.h"
#include "firmware/codec.h"
#include "firmware/firmware.h"
#include "support/image_builder.h"
#include "support/temp_dir.h"

namespace {

using namespace corvane;

Bytes Words(std::size_t size, unsigned seed) {
  static const char* const kWords[] = {"menu ", "channel ", "list ", "audio ", "setup ", "signal ",
                                       "OK\n",  "title=",   "the ",  "of ",    "panel ", "0x00, "};
  std::mt19937 rng(seed);
  Bytes out;
  while (out.size() < size) {
    for (const char* w = kWords[rng() % std::size(kWords)]; *w && out.size() < size; ++w)
      out.push_back(static_cast<std::uint8_t>(*w));
  }
  return out;
}

struct OpenImage {
  TArbol tree;
  TFirmware fw;
  OpenImage() {
    test::ImageSpec spec;
    spec.model = 10;
    for (int d = 0; d < 3; ++d) {
      test::DirSpec dir{d == 0 ? "boot" : "dir" + std::to_string(d), {}, false};
      for (int f = 0; f < 60; ++f) {
        char name[16];
        std::snprintf(name, sizeof name, "f%03d.cpz", f);
        dir.files.push_back({name, Compress(Words(8192, static_cast<unsigned>(d * 60 + f)))});
      }
      spec.dirs.push_back(std::move(dir));
    }
    fw.CreateFromBytes("bench.bin", test::BuildImage(spec).file, tree, 10);
  }
};

const OpenImage& Image() {
  static const OpenImage image;
  return image;
}

void BM_ExtractWholeImageDecompressed(benchmark::State& state) {
  const OpenImage& image = Image();
  if (!image.fw.Loaded) state.SkipWithError("not loaded");
  const test::TempDir dir;
  for (auto _ : state) {
    ExtractRun run;
    run.decompress = true;
    run.root_name = image.fw.RootName;
    run.root = image.tree.Root();
    run.total = CuentaNodosArchivo(*image.tree.Root());
    ExtraeDirectorio(*image.tree.Root(), dir.path(), run);
    if (!run.errors.empty() || run.written != run.total) state.SkipWithError("not written");
  }
}
BENCHMARK(BM_ExtractWholeImageDecompressed)->Unit(benchmark::kMillisecond);

void BM_SearchContentsForAbsentString(benchmark::State& state) {
  const OpenImage& image = Image();
  if (!image.fw.Loaded) state.SkipWithError("not loaded");
  for (auto _ : state) {
    const TNodo* found = Busca(image.tree.Root(), "zqxj", SearchScope::ContentOnly, false);
    if (found != nullptr) state.SkipWithError("found");
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_SearchContentsForAbsentString)->Unit(benchmark::kMillisecond);

}  // namespace
