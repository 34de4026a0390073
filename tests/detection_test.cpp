// Model detection over sample files of every model: it never picks a wrong model, and a damaged
// patch is not taken for the other byte order.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "document/detection.h"
#include "support/model_samples.h"
#include "support/patch_builder.h"

namespace corvane {
namespace {

bool Lists(const std::vector<ModelCandidate>& candidates, int model) {
  return std::any_of(candidates.begin(), candidates.end(),
                     [&](const ModelCandidate& c) { return c.model == model; });
}

TEST(Detection, NeverChoosesAWrongModel) {
  int detected = 0, ambiguous = 0;
  for (const test::ModelSample& sample : test::ModelSamples()) {
    const auto candidates = DetectModels(sample.name, sample.file);
    ASSERT_TRUE(Lists(candidates, sample.model)) << sample.name;
    const int chosen = ChooseDetectedModel(candidates);
    EXPECT_TRUE(chosen == 0 || chosen == sample.model) << sample.name << " taken for " << chosen;
    ++(chosen == sample.model ? detected : ambiguous);
  }
  std::cout << detected << " detected, " << ambiguous << " ambiguous\n";
}

// Written little-endian with entries whose bytes lie past the section: the big-endian reading
// must not win.
TEST(Detection, PioneerPatchWithEntriesOutsideTheFile) {
  Bytes file = test::PlainPatch({test::SampleSection(1), test::SampleSection(2)}, test::Endian::Little);
  const std::size_t record = file[0] | (file[1] << 8);
  for (std::size_t entry = record + 16; entry < record + 16 + 3 * 20; entry += 20) {
    file[entry + 14] = 0x7F;  // offset far past the end of the file
  }
  const auto candidates = DetectModels("damaged.rsc", file);
  ASSERT_TRUE(Lists(candidates, 4));
  const int chosen = ChooseDetectedModel(candidates);
  EXPECT_TRUE(chosen == 0 || chosen == 4) << chosen;
  EXPECT_TRUE(DetectModels("damaged.bin", file).empty() || ChooseDetectedModel(DetectModels("damaged.bin", file)) != 15);
}

}  // namespace
}  // namespace corvane
