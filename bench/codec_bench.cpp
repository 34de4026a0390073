// Codec speed: decompression of resource-like data, and the compressor against the step-by-step
// reference with its exhaustive window search.
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "firmware/codec.h"
#include "support/codec_oracle.h"

namespace {

using corvane::Bytes;

// Words from a list of 24, as the strings of scripts, panels and text tables repeat them: very
// repetitive, long chains of candidate sources.
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

// Prose: sentences of words drawn with falling frequency from 600 made-up words.
Bytes Prose(std::size_t size, unsigned seed) {
  static const char* const kSyllables[] = {"ka", "re", "ti", "son", "mel", "dor", "an", "ve", "lis", "tro",
                                           "pa", "ne", "qui", "ber", "o", "sat", "el", "mu", "ra", "gen"};
  std::mt19937 rng(seed);
  std::vector<std::string> words(600);
  for (auto& w : words) {
    const int syllables = 1 + static_cast<int>(rng() % 3);
    for (int i = 0; i < syllables; ++i) w += kSyllables[rng() % std::size(kSyllables)];
  }
  std::vector<double> weights(words.size());
  for (std::size_t i = 0; i < weights.size(); ++i) weights[i] = 1.0 / static_cast<double>(i + 1);
  std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
  Bytes out;
  std::size_t line = 0;
  bool capital = true;
  while (out.size() < size) {
    std::string w = words[pick(rng)];
    if (capital) w[0] = static_cast<char>(w[0] - 'a' + 'A');
    capital = false;
    const unsigned r = rng() % 16;
    if (r == 0) {
      w += ".";
      capital = true;
    } else if (r == 1) {
      w += ",";
    }
    line += w.size() + 1;
    w += line > 70 ? "\n" : " ";
    if (line > 70) line = 0;
    out.insert(out.end(), w.begin(), w.end());
  }
  out.resize(size);
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

void BM_DescomprimeWordList(benchmark::State& state) {
  DecompressBench(state, TextLike(static_cast<std::size_t>(state.range(0)), 1));
}
BENCHMARK(BM_DescomprimeWordList)->Arg(64 << 10);

void BM_DescomprimeProse(benchmark::State& state) {
  DecompressBench(state, Prose(static_cast<std::size_t>(state.range(0)), 5));
}
BENCHMARK(BM_DescomprimeProse)->Arg(64 << 10);

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

void BM_ComprimeProse64K(benchmark::State& state) { CompressBench(state, Prose(64 << 10, 5)); }
BENCHMARK(BM_ComprimeProse64K);
void BM_ReferenceCompressProse64K(benchmark::State& state) {
  ReferenceCompressBench(state, Prose(64 << 10, 5));
}
BENCHMARK(BM_ReferenceCompressProse64K)->Unit(benchmark::kMillisecond);

void BM_ComprimeWordList64K(benchmark::State& state) { CompressBench(state, TextLike(64 << 10, 1)); }
BENCHMARK(BM_ComprimeWordList64K);
void BM_ReferenceCompressWordList64K(benchmark::State& state) {
  ReferenceCompressBench(state, TextLike(64 << 10, 1));
}
BENCHMARK(BM_ReferenceCompressWordList64K)->Unit(benchmark::kMillisecond);

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

// Random bytes: hardly any match, the window search's cheapest case for the chains and its
// dearest for the exhaustive search.
Bytes RandomBytes(std::size_t size) {
  std::mt19937 rng(17);
  Bytes out(size);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng());
  return out;
}

void BM_ComprimeRandom64K(benchmark::State& state) { CompressBench(state, RandomBytes(64 << 10)); }
BENCHMARK(BM_ComprimeRandom64K);
void BM_ReferenceCompressRandom64K(benchmark::State& state) {
  ReferenceCompressBench(state, RandomBytes(64 << 10));
}
BENCHMARK(BM_ReferenceCompressRandom64K)->Unit(benchmark::kMillisecond);

// All zeros: every source matches, and the nearest ones are cut by their distance.
void BM_ComprimeZeros64K(benchmark::State& state) { CompressBench(state, Bytes(64 << 10, 0)); }
BENCHMARK(BM_ComprimeZeros64K);
void BM_ReferenceCompressZeros64K(benchmark::State& state) {
  ReferenceCompressBench(state, Bytes(64 << 10, 0));
}
BENCHMARK(BM_ReferenceCompressZeros64K)->Unit(benchmark::kMillisecond);

// The compressor's speed-up over the step-by-step search on each input: in every iteration both
// run one after the other, so a machine whose speed drifts between benchmarks weighs them alike
// (the separate rows above can differ by a factor of 2 from one run to the next on a shared
// machine). The counter speed_up is the step-by-step time over the compressor's.
void BM_ComprimeSpeedUp(benchmark::State& state, const Bytes& plain) {
  using Clock = std::chrono::steady_clock;
  constexpr int kCalls = 20;
  Bytes out(corvane::CodecCapacity(plain.size()), 0);
  Clock::duration fast{};
  Clock::duration reference{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    for (int i = 0; i < kCalls; ++i) benchmark::DoNotOptimize(corvane::Comprime(plain, out, corvane::kModeAll));
    const auto t1 = Clock::now();
    benchmark::DoNotOptimize(corvane::test::OracleCompress(plain, corvane::kModeAll));
    reference += Clock::now() - t1;
    fast += t1 - t0;
  }
  state.counters["speed_up"] = kCalls * std::chrono::duration<double>(reference).count() /
                               std::chrono::duration<double>(fast).count();
}
BENCHMARK_CAPTURE(BM_ComprimeSpeedUp, prose, Prose(64 << 10, 5))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ComprimeSpeedUp, word_list, TextLike(64 << 10, 1))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ComprimeSpeedUp, resource_like, ResourceLike(64 << 10))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ComprimeSpeedUp, four_letters, RandomSmallAlphabet(64 << 10))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ComprimeSpeedUp, random, RandomBytes(64 << 10))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ComprimeSpeedUp, all_zero, Bytes(64 << 10, 0))->Unit(benchmark::kMillisecond);

void BM_DescomprimeRandom(benchmark::State& state) {
  DecompressBench(state, RandomBytes(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_DescomprimeRandom)->Arg(64 << 10);

}  // namespace
