// Damaged input never crashes a loader or a writer, and never reads outside the file (the
// sanitizers watch every access): truncated and bit-flipped samples of every model load or are
// refused with a message, and whatever loads saves or is refused cleanly.
#include <gtest/gtest.h>

#include <random>

#include "firmware/firmware.h"
#include "firmware/models.h"
#include "support/firmware_checks.h"
#include "support/image_builder_philips.h"
#include "support/model_samples.h"

namespace corvane {
namespace {

TEST(DamagedInput, EveryModelLoadsOrRefusesCleanly) {
  std::mt19937 rng(20240611);
  for (const test::ModelSample& s : test::ModelSamples()) {
    SCOPED_TRACE(s.name);
    const auto l = test::LoadOk(s.file, s.model);
    const Bytes& file = s.file;
    const std::size_t n = file.size();
    // The bytes that steer the loader: the image's tables (a Strong block file holds its image in
    // records of 8 + 64 KB), or the start of each 64 KB section of a patch.
    const bool strong = n != l->fw.ImageSize && !IsPatchModel(s.model);
    auto steering = [&]() -> std::size_t {
      if (IsPatchModel(s.model)) return rng() % (n / 0x10000) * 0x10000 + rng() % 0x188;
      const std::size_t from = l->fw.TableOffset - 16;
      const std::size_t to = std::max<std::size_t>(l->fw.AddressTableOffset + 32,
                                                   l->fw.FileTableOffset + 400);
      const std::size_t at = from + rng() % (to - from);
      return strong ? at / 0x10000 * 0x10008 + 8 + at % 0x10000 : at;
    };
    const std::size_t t = l->fw.TableOffset;
    for (const std::size_t length : {t + 3, n / 2, n - 1})
      (void)test::LoadsOrRefusesCleanly(Bytes(file.begin(), file.begin() + std::min(length, n)),
                                        s.model);
    for (int round = 0; round < 6; ++round) {
      Bytes damaged = file;
      for (int f = 1 + round % 4; f > 0; --f) {
        const std::uint8_t wild[] = {0x00, 0xFF, 0x7F, 0x80};
        const std::size_t at = steering();
        damaged[at] = round % 3 ? damaged[at] ^ (1u << rng() % 8) : wild[rng() % 4];
      }
      SCOPED_TRACE(round);
      (void)test::LoadsOrRefusesCleanly(damaged, s.model);
    }
  }
}

// A marker so near the end that the table after it runs off the file.
TEST(DamagedInput, TablesRunningOffTheEnd) {
  for (const int model : test::kPhilipsModels) {
    const std::string marker = model == 19 ? "MODULE ADD.FLASH" : std::string("boot\0", 5);
    const std::size_t length = test::PhilipsLength(model);
    for (const std::size_t back : {16u, 21u, 40u, 200u}) {
      Bytes file(length, 0x11);
      std::copy(marker.begin(), marker.end(), file.end() - static_cast<std::ptrdiff_t>(back));
      for (std::size_t k = length - back + marker.size(); k < length; ++k)
        file[k] = static_cast<std::uint8_t>(k * 7);
      (void)test::LoadsOrRefusesCleanly(file, model);
    }
  }
}

// A directory claiming 2^31 files whose entries all lie inside the image would otherwise copy the
// image into the tree again and again.
TEST(DamagedInput, HugeCountsAreRefusedNotFollowed) {
  test::ImageSpec spec;
  spec.dirs = test::SampleTree();
  test::BuiltImage built = test::BuildImage(spec);
  MutableByteView(built.file).WriteLE(built.layout.TableOffset + 4 + 32 * 8 + 4, 0x7FFFFFFF, 4);
  MutableByteView(built.file).WriteLE(built.layout.AddressTableOffset + 4, 0x7FE00000, 4);
  const auto l = test::Load(built.file, 1);
  if (!l->result.ok()) {
    EXPECT_EQ(l->result.message.Rows(), std::vector<int>{4});
    return;
  }
  std::size_t nodes = 0;
  l->tree.ForEach([&](TNodo&) { ++nodes; });
  EXPECT_LT(nodes, built.file.size() / 10);
}

}  // namespace
}  // namespace corvane
