// The fonts of an image read and written back (target: under 1 ms), and one 40-character line of
// text drawn (target: under 20 microseconds).
#include <benchmark/benchmark.h>

#include "firmware/firmware.h"
#include "render/font_render.h"
#include "resources/font_tables.h"
#include "support/font_table_builder.h"
#include "support/image_builder.h"

namespace {

using namespace corvane;

// Four fonts in a Pioneer image: the main one 16 high, three others of 10 to 24 rows.
struct FontImage {
  TArbol tree;
  TFirmware fw;
  FontImage() {
    std::vector<test::FontSpec> fonts = {test::UniformFont("fudemi", 24, 16, 12),
                                         test::UniformFont("videotex", 10, 10, 6, 0),
                                         test::UniformFont("sans", 12, 12, 7, 0),
                                         test::UniformFont("large", 36, 24, 18, 0)};
    fonts[0].room = 64;
    const test::BuiltImage built = test::BuildFontImage(1, fonts);
    if (!fw.CreateFromBytes("bench.bin", built.file, tree, 1).ok()) std::abort();
  }
};

FontImage& Image() {
  static FontImage image;
  return image;
}

void BM_FontsReadAndWriteBack(benchmark::State& state) {
  FontImage& image = Image();
  Bytes out = image.fw.Image;
  for (auto _ : state) {
    TMHWFont set;
    LeeFuentes(image.fw, set);
    if (!CabenFuentes(image.fw, set)) std::abort();
    EscribeFuentesLE(image.fw, set, out);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_FontsReadAndWriteBack)->Unit(benchmark::kMicrosecond);

void BM_FontsDrawLine(benchmark::State& state) {
  TMHWFont set;
  LeeFuentes(Image().fw, set);
  PixelBuffer buffer(720, 40, Rgb{0, 0, 64});
  const std::string line = "Canal 1 - Noticias de la tarde 20:30 ABC";  // 40 characters
  for (auto _ : state) {
    DibujaTexto(buffer, set, line, ClipRect{0, 0, 720, 40}, 0, 4, 10, Rgb{255, 255, 255});
    benchmark::DoNotOptimize(buffer.Row(10));
  }
}
BENCHMARK(BM_FontsDrawLine)->Unit(benchmark::kMicrosecond);

}  // namespace
