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

// One sample per model (with font tables where the model keeps fonts): every loader runs on each.
TEST(Detection, NeverChoosesAWrongModel) {
  int detected = 0, ambiguous = 0;
  for (const test::ModelSample& sample : test::ModelSamples(true)) {
    const auto candidates = DetectModels(sample.name, sample.file);
    ASSERT_TRUE(Lists(candidates, sample.model)) << sample.name;
    const int chosen = ChooseDetectedModel(candidates);
    EXPECT_TRUE(chosen == 0 || chosen == sample.model) << sample.name << " taken for " << chosen;
    ++(chosen == sample.model ? detected : ambiguous);
  }
  std::cout << detected << " detected, " << ambiguous << " ambiguous\n";
}

// A little-endian patch whose entries point past the end of the file (the first directory's, or
// every one): the big-endian reading must never win.
TEST(Detection, PioneerPatchWithEntriesOutsideTheFile) {
  for (const bool every_entry : {false, true}) {
    Bytes file = test::PlainPatch({test::SampleSection(1), test::SampleSection(2)}, test::Endian::Little);
    for (std::size_t section = 0; section < (every_entry ? file.size() : 1); section += test::kPatchSection)
      for (std::size_t slot = 0; slot < (every_entry ? 16u : 1u); ++slot) {
        const std::size_t record = section + ByteView(file).u16le(section + 2 * slot);
        if (record == section) break;
        for (std::size_t entry = 0; entry < file[record + 12]; ++entry)
          file[record + 16 + 20 * entry + 14] = 0x7F;  // offset far past the end of the file
      }
    for (const char* name : {"damaged.rsc", "damaged.bin"}) {
      const int chosen = ChooseDetectedModel(DetectModels(name, file));
      EXPECT_TRUE(chosen == 0 || chosen == 4) << name << " " << every_entry << " taken for " << chosen;
      // With some directories intact and its own extension, the little-endian reading is clearly ahead.
      EXPECT_TRUE(every_entry || name[8] != 'r' || chosen == 4);
    }
  }
}

}  // namespace
}  // namespace corvane
