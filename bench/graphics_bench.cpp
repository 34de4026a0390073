// Drawing a full-screen image and the JSON round trip of a large icon collection.
#include <benchmark/benchmark.h>

#include "render/indexed_draw.h"
#include "resources/icons.h"
#include "resources/icons_json.h"
#include "resources/image.h"

namespace corvane {
namespace {

void BM_DrawImage720x576(benchmark::State& state) {
  Bytes rows(360 * 576);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i * 13);
  TMHWImage image;
  image.SetPicture(720, 576, rows);
  const TMHWPalette palette = TMHWPalette::Greys();
  for (auto _ : state) benchmark::DoNotOptimize(Dibuja(image, palette));
}
BENCHMARK(BM_DrawImage720x576)->Unit(benchmark::kMillisecond);

// About 64 KB of plain bytes: 240 icons of 32 x 16 with eight-character names.
Bytes LargeIconCollection() {
  TMHWIconLib lib;
  for (int i = 0; i < 240; ++i) {
    Bytes pixels(16 * 16);
    for (std::size_t p = 0; p < pixels.size(); ++p) pixels[p] = static_cast<std::uint8_t>(p * i);
    lib.icons.push_back({"icon" + std::to_string(1000 + i), 32, 16, pixels});
  }
  Bytes plain;
  lib.Plain(plain);
  return plain;
}

void BM_IconsDumpBuild64K(benchmark::State& state) {
  const Bytes plain = LargeIconCollection();
  for (auto _ : state) {
    nlohmann::ordered_json form;
    DumpIcons(plain, "icons.ico", form);
    Bytes back;
    BuildIcons(form, "icons.ico", back);
    benchmark::DoNotOptimize(back);
  }
  state.counters["bytes"] = static_cast<double>(plain.size());
}
BENCHMARK(BM_IconsDumpBuild64K)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane
