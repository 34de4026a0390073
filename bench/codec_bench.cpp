// Codec speed: decompression of resource-like data, and the compressor against the step-by-step
// reference with its exhaustive window search.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "firmware/codec.h"
#include "support/codec_oracle.h"

namespace {

using corvane::Bytes;

// Strings as scripts, panels and text tables hold them.
Bytes TextLike(std::size_t size, unsigned seed) {
  static const char* const kWords[] = {
      "the ",   "panel ", "script ", "image ", "font ", "receiver ", "menu ",   "channel ",
      "list ",  "of ",    "and ",    "a ",     "to ",   "in ",       "setup ",  "signal ",
      "OK\n",   "\t",     "0x00, ",  "title=", "\"",    "Volume ",   "audio ", "satellite "};
  std::mt19937 rng(seed);
  Bytes out;
  while (out.size() < size) {
    const char* w = kWords[rng() % std::size(kWords)];
    for (; *w && out.size() < size; ++w) out.push_back(static_cast<std::uint8_t>(*w));
  }
  return out;
}

// A mix of what the image's resources hold: text, fixed records of small big-endian numbers and
// NUL-padded names, and 4-bit pixel rows with runs.
Bytes ResourceLike(std::size_t size) {
  std::mt19937 rng(11);
  Bytes out;
  const Bytes text = TextLike(size, 12);
  std::size_t text_pos = 0;
  while (out.size() < size) {
    switch (rng() % 3) {
      case 0:  // text
        for (std::size_t i = 0; i < 200 && text_pos < text.size(); ++i) out.push_back(text[text_pos++]);
        break;
      case 1:  // records
        for (int r = 0; r < 10; ++r) {
          const std::uint32_t x = rng() % 720;
          const std::uint32_t y = rng() % 576;
          const std::uint8_t rec[16] = {0, 1, static_cast<std::uint8_t>(x >> 8), static_cast<std::uint8_t>(x),
                                        static_cast<std::uint8_t>(y >> 8), static_cast<std::uint8_t>(y),
                                        0, 40, 0, static_cast<std::uint8_t>(rng() % 16),
                                        'b', 't', 'n', static_cast<std::uint8_t>('0' + rng() % 10), 0, 0};
          out.insert(out.end(), rec, rec + 16);
        }
        break;
      default:  // pixel rows
        for (int row = 0; row < 8; ++row) {
          for (int run = 0; run < 6; ++run) {
            const auto colour = static_cast<std::uint8_t>((rng() % 16) * 0x11);
            out.insert(out.end(), rng() % 24 + 1, colour);
          }
        }
        break;
    }
  }
  out.resize(size);
  return out;
}

Bytes RandomSmallAlphabet(std::size_t size) {
  std::mt19937 rng(13);
  Bytes out(size);
  for (auto& b : out) b = static_cast<std::uint8_t>('a' + rng() % 4);
  return out;
}

void DecompressBench(benchmark::State& state, const Bytes& plain) {
  const Bytes stream = corvane::Compress(plain);
  Bytes out(corvane::CodecCapacity(stream.size()), 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(corvane::Descomprime(stream, out));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * plain.size()));
  state.counters["ratio"] = static_cast<double>(plain.size()) / static_cast<double>(stream.size());
}

void BM_DescomprimeResourceLike(benchmark::State& state) {
  DecompressBench(state, ResourceLike(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_DescomprimeResourceLike)->Arg(4 << 10)->Arg(64 << 10);

void BM_DescomprimeText(benchmark::State& state) {
  DecompressBench(state, TextLike(static_cast<std::size_t>(state.range(0)), 1));
}
BENCHMARK(BM_DescomprimeText)->Arg(64 << 10);

void CompressBench(benchmark::State& state, const Bytes& plain) {
  Bytes out(corvane::CodecCapacity(plain.size()), 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(corvane::Comprime(plain, out, corvane::kModeAll));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * plain.size()));
}

void ReferenceCompressBench(benchmark::State& state, const Bytes& plain) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(corvane::test::OracleCompress(plain, corvane::kModeAll));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * plain.size()));
}

void BM_ComprimeText64K(benchmark::State& state) { CompressBench(state, TextLike(64 << 10, 1)); }
BENCHMARK(BM_ComprimeText64K);
void BM_ReferenceCompressText64K(benchmark::State& state) {
  ReferenceCompressBench(state, TextLike(64 << 10, 1));
}
BENCHMARK(BM_ReferenceCompressText64K)->Unit(benchmark::kMillisecond);

void BM_ComprimeResourceLike64K(benchmark::State& state) { CompressBench(state, ResourceLike(64 << 10)); }
BENCHMARK(BM_ComprimeResourceLike64K);
void BM_ReferenceCompressResourceLike64K(benchmark::State& state) {
  ReferenceCompressBench(state, ResourceLike(64 << 10));
}
BENCHMARK(BM_ReferenceCompressResourceLike64K)->Unit(benchmark::kMillisecond);

// Many short candidate matches: the hash chains' hardest case.
void BM_ComprimeFourLetters64K(benchmark::State& state) {
  CompressBench(state, RandomSmallAlphabet(64 << 10));
}
BENCHMARK(BM_ComprimeFourLetters64K);
void BM_ReferenceCompressFourLetters64K(benchmark::State& state) {
  ReferenceCompressBench(state, RandomSmallAlphabet(64 << 10));
}
BENCHMARK(BM_ReferenceCompressFourLetters64K)->Unit(benchmark::kMillisecond);

}  // namespace
