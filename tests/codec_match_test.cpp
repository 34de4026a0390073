// The compressor's match search against the step-by-step form on the shapes that steer it: short
// periods (matches cut by their distance), records that differ in a few bytes (many equal
// matches of 8 to 12 bytes), words (matches of 3 to 7 bytes), runs between them, and stretches of
// one value of every length.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "firmware/codec.h"
#include "support/codec_oracle.h"

namespace corvane {
namespace {

Bytes Periodic(std::size_t period, std::size_t size) {
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>('a' + (i % period) % 3);
  return out;
}

Bytes Records(std::mt19937& rng, std::size_t size) {
  Bytes out;
  while (out.size() < size) {
    const std::uint8_t rec[12] = {0, 1, static_cast<std::uint8_t>(rng() % 3), static_cast<std::uint8_t>(rng()),
                                  0, 40, static_cast<std::uint8_t>(rng() % 16), 'b', 't', 'n',
                                  static_cast<std::uint8_t>('0' + rng() % 10), 0};
    out.insert(out.end(), rec, rec + 12);
    if (rng() % 4 == 0) out.insert(out.end(), rng() % 20 + 1, static_cast<std::uint8_t>(rng() % 4));
  }
  out.resize(size);
  return out;
}

Bytes Words(std::mt19937& rng, std::size_t size) {
  static const char* const kWords[] = {"sat", "sate", "satel", "ite ", "tel", "el ", "lite", "s"};
  Bytes out;
  while (out.size() < size) {
    for (const char* w = kWords[rng() % std::size(kWords)]; *w && out.size() < size; ++w)
      out.push_back(static_cast<std::uint8_t>(*w));
  }
  return out;
}

// Stretches of one of `values` values, up to `longest` bytes, between other bytes.
Bytes Stretches(std::mt19937& rng, std::size_t size, unsigned values, unsigned longest) {
  Bytes out;
  while (out.size() < size) {
    out.insert(out.end(), rng() % longest + 1, static_cast<std::uint8_t>(rng() % values));
    if (rng() % 3 == 0) out.push_back(static_cast<std::uint8_t>(values + rng() % 2));
  }
  out.resize(size);
  return out;
}

TEST(ComprimeMatches, SameStreamAsTheStepByStepForm) {
  std::mt19937 rng(31);
  std::vector<std::pair<std::string, Bytes>> inputs;
  for (std::size_t period = 1; period <= 10; ++period)
    inputs.emplace_back("period" + std::to_string(period), Periodic(period, 700));
  for (const std::size_t size : {5u, 7u, 8u, 9u, 3000u})
    inputs.emplace_back("records" + std::to_string(size), Records(rng, size));
  for (const std::size_t size : {4u, 10u, 5000u}) inputs.emplace_back("words" + std::to_string(size), Words(rng, size));
  // Shorter and longer than the longest match; then pixel rows, whose stretches of 16 colours
  // are met again and again by later searches over several windows.
  for (const std::size_t size : {70u, 6000u})
    inputs.emplace_back("stretches" + std::to_string(size), Stretches(rng, size, 2, 90));
  inputs.emplace_back("pixels", Stretches(rng, 9000, 16, 24));
  for (const auto& [name, plain] : inputs) {
    for (const int mode : {kModeBackReferences, kModeAll}) {
      Bytes out(CodecCapacity(plain.size()));
      out.resize(Comprime(plain, out, mode));
      ASSERT_EQ(out, test::OracleCompress(plain, mode)) << name << " mode " << mode;
    }
    EXPECT_EQ(Decompress(Compress(plain)), plain) << name;
  }
}

}  // namespace
}  // namespace corvane
