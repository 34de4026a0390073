// Marker search over a 2 MB image, the step every loader starts with.
#include <benchmark/benchmark.h>

#include "base/bytes.h"

namespace {

void BM_BuscaCadenaMarkerNearEnd(benchmark::State& state) {
  corvane::Bytes image(2 * 1024 * 1024, 0xFF);
  const char marker[] = "boot";
  std::copy(marker, marker + 4, image.end() - 64);
  image[image.size() - 60] = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(corvane::BuscaCadena("boot", image, image.size(), true));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.size()));
}
BENCHMARK(BM_BuscaCadenaMarkerNearEnd);

}  // namespace
