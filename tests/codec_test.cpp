#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "firmware/codec.h"
#include "support/codec_oracle.h"
#include "support/files.h"
#include "support/cli_runner.h"

namespace corvane {
namespace {

using test::OracleCompress;
using test::OracleDecompress;
using test::Stream;
using test::ToBytes;

Bytes Hex(std::string_view text) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
    out.push_back(static_cast<std::uint8_t>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
  }
  return out;
}

Bytes Repeat(std::uint8_t value, std::size_t count) { return Bytes(count, value); }

// Streams written out token by token. A row with a mode is also what the compressor writes in that
// mode; a row without (-1) is a hand-made stream, only read.
struct KnownCase {
  const char* name;
  Bytes plain;
  Bytes stream;
  int mode = kModeAll;
};

TEST(Codec, KnownStreams) {
  const Bytes abcdefgh = Stream().Lit("abcdefgh").Take();
  const KnownCase cases[] = {
      {"Empty", {}, {}},
      {"ThreeLetters", ToBytes("abc"), Hex("a6 16 26 30 00")},
      {"TenEqual", Repeat('a', 10), Hex("86 10 0c 00 00")},
      {"OneByte", ToBytes("x"), Hex("87 80 00")},
      {"SixtyFourEqual", Repeat('a', 64), Hex("86 10 1f c0 00")},
      {"SixtyFiveEqual", Repeat('a', 65), Hex("86 10 1f e0 00")},
      {"EightDifferent", ToBytes("abcdefgh"), Hex("f6 16 26 36 46 56 66 76 80 00 00")},
      {"NineDifferent", ToBytes("abcdefghi"), Hex("f6 16 26 36 46 56 66 76 88 69 00 00")},
      // Two sources of 3 bytes: the nearer one (distance 4, not 8) is used.
      {"TieGoesToNearerSource", ToBytes("abcXabcYabc"),
       Stream().Lit("abcX").Ref(4, 3).Lit("Y").Ref(4, 3).Flag0().End().Take()},
      // A literal block of 8 is followed by a flag bit before its back-reference.
      {"FullBlockThenReference", ToBytes("abcdefghabcd"),
       Stream().Lit("abcdefgh").Flag0().Ref(8, 4).Flag0().End().Take()},
      // A run right after a reference whose last byte equals it: the run starts at the current byte.
      {"RunJoinsCoveredByte", ToBytes("xyzxyzzzzq"),
       Stream().Lit("xyz").Ref(3, 3).Flag0().Ref(1, 3).Lit("q").End().Take()},
      {"PairIsNoRun", ToBytes("abbc"), Stream().Lit("abbc").End().Take()},
      // Without runs: the current byte is never its own source; the longest of the sources at 4, 5
      // and 6 (length 4, limited by the input end), the nearest of them.
      {"WindowSearchAlone", Repeat('a', 10),
       Stream().Lit("aaa").Ref(3, 3).Flag0().Ref(4, 4).Flag0().End().Take(), kModeBackReferences},
      // Without the ninth-byte mode the eighth pending byte goes out unexamined, so the repeat of
      // "abcdefg" is found one byte later.
      {"EighthByteFlush", ToBytes("abcdefgabcdefgh"),
       Stream().Lit("abcdefga").Flag0().Ref(7, 6).Lit("h").End().Take(), 3},
      {"NinthByteFlush", ToBytes("abcdefgabcdefgh"),
       Stream().Lit("abcdefg").Ref(7, 7).Lit("h").End().Take(), 7},
      {"OverlappingCopy", ToBytes("ababababa"), Stream().Lit("ab").Ref(2, 7).Flag0().End().Take(), -1},
      // A reference before the start leaves zeros and advances.
      {"BeforeTheStart", {'a', 'b', 0, 0, 0, 'z'}, Stream().Lit("ab").Ref(5, 3).Lit("z").End().Take(), -1},
      {"ZeroWords", {}, {0, 0, 0, 0}, -1},
      {"EndOnly", {}, Stream().Flag0().End().Take(), -1},
      // Cut inside its last literal block: half of 'e' made it, the missing bits read as zero.
      {"CutLiteral", {'a', 'b', 'c', 'd', 0x60, 0, 0, 0}, Bytes(abcdefgh.begin(), abcdefgh.begin() + 5), -1},
  };
  for (const KnownCase& k : cases) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(Decompress(k.stream), k.plain);
    EXPECT_EQ(OracleDecompress(k.stream, CodecCapacity(k.stream.size())), k.plain);
    if (k.mode < 0) continue;
    Bytes out(CodecCapacity(k.plain.size()) + 4, 0xEE);
    out.resize(Comprime(k.plain, out, k.mode));
    EXPECT_EQ(out, k.stream);
    EXPECT_EQ(OracleCompress(k.plain, k.mode), k.stream);
    EXPECT_TRUE(k.mode != kModeAll || Compress(k.plain) == k.stream);
  }
}

// Neither side writes past the span it is given, and a cut stream is the reference's, cut.
TEST(Codec, StaysInsideTheBufferGiven) {
  const Bytes plain = ToBytes("the quick brown fox jumps over the lazy dog");
  const Bytes full = Compress(plain);
  Bytes buffer(14, 0xEE);
  EXPECT_EQ(Comprime(plain, std::span(buffer).first(10), kModeAll), 10u);
  Bytes expected(full.begin(), full.begin() + 10);
  expected.insert(expected.end(), 4, 0xEE);
  EXPECT_EQ(buffer, expected);
  Bytes none;
  EXPECT_EQ(Comprime(ByteView(), std::span(none), kModeAll), 0u);

  // Skipped bytes are zero even in a buffer that was not zero-filled.
  const Bytes before_start = Stream().Lit("ab").Ref(5, 3).Lit("z").End().Take();
  Bytes out(CodecCapacity(before_start.size()), 0xEE);
  ASSERT_EQ(Descomprime(before_start, out), 6u);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 7), (Bytes{'a', 'b', 0, 0, 0, 'z', 0xEE}));

  // Each 2-byte token of the overlong stream makes 64 bytes, more than 30 per stream byte.
  Stream overlong;
  overlong.Lit("q").Ref(1, 64);
  for (int i = 0; i < 40; ++i) overlong.Flag0().Ref(1, 64);
  const Bytes streams[] = {overlong.Flag0().End().Take(),
                           Stream().Lit("abcdefgh").Flag0().Ref(300, 20).Lit("xyz").End().Take()};
  EXPECT_EQ(Decompress(streams[0]), Repeat('q', CodecCapacity(streams[0].size())));
  for (const Bytes& stream : streams) {
    for (std::size_t cap = 0; cap <= 70; ++cap) {
      Bytes cut(cap + 8, 0xEE);
      const std::uint32_t produced = Descomprime(stream, std::span(cut).first(cap));
      EXPECT_EQ(Bytes(cut.begin(), cut.begin() + produced), OracleDecompress(stream, cap)) << cap;
      EXPECT_EQ(Bytes(cut.begin() + static_cast<std::ptrdiff_t>(cap), cut.end()), Repeat(0xEE, 8));
    }
  }
}

TEST(Codec, ArbitraryBytesDecodeAsTheBitsSay) {
  std::mt19937 rng(7);
  for (int round = 0; round < 400; ++round) {
    Bytes junk(rng() % 300);
    const std::uint32_t mask[] = {0, 0x88, 0x11, 0xFF};
    for (auto& b : junk)
      b = static_cast<std::uint8_t>(round % 4 == 2 ? rng() & 0x11 : rng() | mask[round % 4]);
    ASSERT_EQ(Decompress(junk), OracleDecompress(junk, CodecCapacity(junk.size()))) << round;
  }
}

// ---------------------------------------------------------------------------------------------
// The fast compressor against the step-by-step one, and round trips

Bytes RandomBytes(std::mt19937& rng, std::size_t size, unsigned alphabet) {
  Bytes out(size);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng() % alphabet);
  return out;
}

// Random bytes with copies of earlier parts at the given distance and length.
Bytes WithRepeats(std::mt19937& rng, std::size_t size, std::size_t distance, std::size_t length) {
  Bytes out = RandomBytes(rng, size, 256);
  for (std::size_t pos = distance; pos + length <= size; pos += length + rng() % 200 + 1) {
    for (std::size_t i = 0; i < length; ++i) out[pos + i] = out[pos + i - distance];
  }
  return out;
}

Bytes Runs(std::mt19937& rng, std::size_t size) {
  Bytes out;
  while (out.size() < size) {
    const std::size_t len = std::min<std::size_t>(size - out.size(), rng() % 140 + 1);
    out.insert(out.end(), len, static_cast<std::uint8_t>(rng() % 4));
  }
  return out;
}

Bytes TextLike(std::mt19937& rng, std::size_t size) {
  static const char* const kWords[] = {
      "the ",   "panel ", "script ", "image ", "font ", "receiver ", "menu ",   "channel ",
      "list ",  "of ",    "and ",    "a ",     "to ",   "in ",       "setup ",  "signal ",
      "OK\n",   "\t",     "0x00, ",  "title=", "\"",    "Volume ",   "audio ", "satellite "};
  Bytes out;
  while (out.size() < size) {
    const char* w = kWords[rng() % std::size(kWords)];
    for (; *w && out.size() < size; ++w) out.push_back(static_cast<std::uint8_t>(*w));
  }
  return out;
}

struct Sample {
  std::string name;
  Bytes bytes;
};

// Runs and series of equal, different and alternating bytes around the token limits, repeats at
// distances around the window's, small alphabets, text; or inputs beyond 64 KB.
std::vector<Sample> Samples(bool large) {
  std::mt19937 rng(2024);
  if (large)
    return {{"bigtext", TextLike(rng, 70000)}, {"bigalphabet2", RandomBytes(rng, 65537, 2)},
            {"bigruns", Runs(rng, 69999)}, {"bigrepeat2049", WithRepeats(rng, 70000, 2049, 64)}};
  std::vector<Sample> s;
  auto add = [&](const std::string& name, std::size_t n, Bytes b) {
    s.push_back({name + std::to_string(n), std::move(b)});
  };
  for (std::size_t n = 0; n <= 40; ++n) add("equal", n, Repeat(0x5A, n));
  for (const std::size_t n : {63u, 64u, 65u, 66u, 127u, 128u, 129u, 130u, 1000u})
    add("equal", n, Repeat(0, n));
  for (std::size_t n = 1; n <= 24; ++n) {
    Bytes b(n);
    std::iota(b.begin(), b.end(), std::uint8_t{0});
    add("different", n, b);
  }
  for (const std::size_t n : {2u, 3u, 5u, 17u, 200u, 3000u}) {
    Bytes b(n, 'a');
    for (std::size_t i = 1; i < n; i += 2) b[i] = 'b';
    add("alternating", n, b);
  }
  for (const std::size_t distance : {3u, 8u, 16u, 17u, 64u, 65u, 1024u, 2047u, 2048u, 2049u, 2050u})
    for (const std::size_t length : {3u, 4u, 8u, 9u, 63u, 64u, 65u, 130u})
      add("repeat" + std::to_string(distance) + "x", length,
          WithRepeats(rng, distance + 1200, distance, length));
  for (const unsigned alphabet : {1u, 2u, 3u, 4u, 16u, 256u})
    for (const std::size_t n : {1u, 9u, 100u, 2100u})
      add("alphabet" + std::to_string(alphabet) + "n", n, RandomBytes(rng, n, alphabet));
  for (const std::size_t n : {100u, 5000u}) add("runs", n, Runs(rng, n));
  for (const std::size_t n : {300u, 9000u}) add("text", n, TextLike(rng, n));
  return s;
}

// Runs alone (no window search) reach 64 bytes per 16 bits, more than the usual 30 x length + 1:
// those streams are read back into a buffer as large as the plain bytes.
Bytes DecompressInto(ByteView stream, std::size_t capacity) {
  Bytes out(capacity, 0);
  out.resize(Descomprime(stream, out));
  return out;
}

TEST(Comprime, MatchesTheStepByStepFormInEveryMode) {
  for (const Sample& sample : Samples(false)) {
    for (int mode = 0; mode <= 7; ++mode) {
      Bytes out(CodecCapacity(sample.bytes.size()), 0);
      out.resize(Comprime(sample.bytes, out, mode));
      ASSERT_EQ(out, OracleCompress(sample.bytes, mode)) << sample.name << " mode " << mode;
      const std::size_t capacity = std::max(CodecCapacity(out.size()), sample.bytes.size());
      ASSERT_EQ(DecompressInto(out, capacity), sample.bytes) << sample.name << " mode " << mode;
      if (mode & kModeBackReferences) {
        // With the window search a stream never outgrows the usual buffer: at best 64 bytes
        // from 18 bits (a reference of length 64 needs a distance of at least 64).
        ASSERT_EQ(Decompress(out), sample.bytes) << sample.name << " mode " << mode;
      }
    }
  }
}

TEST(Comprime, MatchesTheStepByStepFormOnLargeInputs) {
  for (const Sample& sample : Samples(true)) {
    const Bytes out = Compress(sample.bytes);
    ASSERT_EQ(out, OracleCompress(sample.bytes, kModeAll)) << sample.name;
    ASSERT_EQ(Decompress(out), sample.bytes) << sample.name;
    ASSERT_EQ(Decompress(out), OracleDecompress(out, CodecCapacity(out.size()))) << sample.name;
  }
}

// ---------------------------------------------------------------------------------------------
// Saved fuzzer findings and the command-line tool

// Each file goes through what both fuzz targets do with it: read as a stream into the usual and a
// short buffer; and, its first byte taken as the mode, the rest compressed and read back.
TEST(Codec, FuzzRegressionsReplay) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(
           std::filesystem::path(CORVANE_SOURCE_DIR) / "fuzz" / "regressions")) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const Bytes input = test::ReadFile(entry.path());
    const std::string name = entry.path().filename().string();
    for (const std::size_t capacity : {CodecCapacity(input.size()), input.size() / 2})
      EXPECT_EQ(DecompressInto(input, capacity), OracleDecompress(input, capacity)) << name;
    if (input.empty()) continue;
    const Bytes plain(input.begin() + 1, input.end());
    Bytes packed(CodecCapacity(plain.size()), 0);
    packed.resize(Comprime(plain, packed, input[0] & 7));
    EXPECT_EQ(packed, OracleCompress(plain, input[0] & 7)) << name;
    EXPECT_EQ(DecompressInto(packed, std::max(packed.size() * 30 + 1, plain.size())), plain) << name;
  }
  EXPECT_GT(files, 0);
}

TEST(Codec, CommandLineCompressAndDecompress) {
  const test::CliFolder cli;
  std::mt19937 rng(5);
  const Bytes plain = TextLike(rng, 5000);
  test::WriteFile(cli.dir / "plain.bin", plain);
  const auto files = [&](const char* from, const char* to) { return cli.Q(cli.dir / from) + " " + cli.Q(cli.dir / to); };
  ASSERT_EQ(cli.Run("compress " + files("plain.bin", "packed.bin")).exit_code, 0);
  EXPECT_EQ(test::ReadFile(cli.dir / "packed.bin"), Compress(plain));
  ASSERT_EQ(cli.Run("decompress " + files("packed.bin", "back.bin")).exit_code, 0);
  EXPECT_EQ(test::ReadFile(cli.dir / "back.bin"), plain);
  EXPECT_EQ(cli.Run("decompress " + files("missing.bin", "x.bin")).exit_code, 4);
}

}  // namespace
}  // namespace corvane
