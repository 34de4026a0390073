// Damaged patch files: every truncation and bit flip loads or is rejected, a loaded tree saves or
// is refused, and what is saved reads back as the same tree. Run under the sanitizers this also
// shows that no read or write leaves its buffer.
#include <gtest/gtest.h>

#include <random>

#include "base/messages.h"
#include "firmware/firmware.h"
#include "support/patch_builder.h"

namespace corvane {
namespace {

using test::Endian;
using test::PatchSectionSpec;
using test::Pattern;

PatchSectionSpec Dirs(unsigned seed) {
  PatchSectionSpec s;
  for (unsigned d = 0; d < 3; ++d)
    s.dirs.push_back({test::Numbered("d", seed + d),
                      {{"a.cpz", Pattern(40 + d, seed)}, {"b.pan", Pattern(3, seed + d)}}});
  return s;
}

PatchSectionSpec Canal() {
  PatchSectionSpec s;
  s.canal = test::CanalFile(300, 1);
  return s;
}

struct Sample {
  int model;
  Bytes file;
  std::vector<std::size_t> sections;  // file offsets of the section starts
};

std::vector<Sample> Samples() {
  const std::uint32_t b17 = test::kStrong8000PatchBase;
  return {
      {4, test::PlainPatch({Dirs(1), Canal(), Dirs(3)}, Endian::Little), {0, 0x10000, 0x20000}},
      {15, test::PlainPatch({Dirs(1), Canal(), Dirs(3)}, Endian::Big), {0, 0x10000, 0x20000}},
      {14, test::PhilipsPatch({Dirs(1), Canal(), Dirs(3)}), {0x10000, 0x20000, 0x30000}},
      {17,
       test::StrongBlockFile({test::StrongPatchRecord(b17, 2, Dirs(2)),
                              test::StrongPatchRecord(b17, 0, Canal()),
                              test::StrongPatchRecord(b17, 1, Dirs(1))}),
       {8, 0x10008 + 8, 2 * 0x10008 + 8}},
  };
}

// Loads the bytes; when they load and save, the saved file must load as the same tree.
void Check(int model, Bytes file, const std::string& what) {
  TArbol tree;
  TFirmware firmware;
  const Result loaded = firmware.CreateFromBytes("damaged.bin", std::move(file), tree, model);
  if (!loaded.ok()) {
    ASSERT_EQ(loaded.outcome, Outcome::Rejected) << what;
    ASSERT_FALSE(loaded.message.Empty()) << what;
    return;
  }
  Bytes out;
  const Result saved = firmware.Build(SaveOptions{}, out);
  if (!saved.ok()) {
    ASSERT_EQ(saved.outcome, Outcome::Refused) << what;
    ASSERT_TRUE(out.empty()) << what;
    return;
  }
  TArbol again;
  TFirmware reopened;
  ASSERT_TRUE(reopened.CreateFromBytes("damaged.bin", out, again, model)) << what;
  ASSERT_EQ(test::DescribeTree(again), test::DescribeTree(tree)) << what;
}

TEST(PatchRobustness, TruncatedFiles) {
  for (const Sample& s : Samples()) {
    const std::size_t step = s.model == 17 ? 0x0FFF : 0x7FFF;
    for (std::size_t len = 0; len < s.file.size(); len += step)
      Check(s.model, Bytes(s.file.begin(), s.file.begin() + static_cast<std::ptrdiff_t>(len)),
            test::Numbered("model ", s.model) + test::Numbered(" cut to ", len));
  }
}

TEST(PatchRobustness, BitFlipsAndWildFields) {
  std::mt19937 rng(20240611);
  for (const Sample& s : Samples()) {
    const int rounds = s.model == 14 ? 40 : 250;  // a Philips patch is 2 MB
    for (int i = 0; i < rounds; ++i) {
      Bytes file = s.file;
      std::string what = test::Numbered("model ", s.model);
      const int damages = 1 + static_cast<int>(rng() % 4);
      for (int d = 0; d < damages; ++d) {
        // Mostly the tables and record headers at the start of a section, sometimes anywhere.
        std::size_t pos;
        if (rng() % 4 != 0)
          pos = s.sections[rng() % s.sections.size()] + rng() % 0x180;
        else
          pos = rng() % file.size();
        if (rng() % 2 == 0) {
          file[pos] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        } else {
          const std::uint8_t wild[] = {0x00, 0xFF, 0x7F, 0x80, 0xFE, 0x01};
          file[pos] = wild[rng() % 6];
        }
        what += test::Numbered(" @", pos);
      }
      Check(s.model, std::move(file), what);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(PatchRobustness, RandomBytesNeverCrash) {
  std::mt19937 rng(7);
  for (int model : {4, 15}) {
    for (int i = 0; i < 12; ++i) {
      Bytes file(0x10000 * (1 + rng() % 2));
      for (auto& b : file) b = static_cast<std::uint8_t>(rng());
      // Short offsets into the first bytes make the tables point somewhere inside.
      for (std::size_t slot = 0; slot < 32; slot += 2)
        file[slot + (model == 4 ? 1 : 0)] = rng() % 2;
      Check(model, std::move(file), test::Numbered("random ", i));
    }
  }
}

}  // namespace
}  // namespace corvane
