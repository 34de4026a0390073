// Loading and saving every directory-table model against images built independently from the
// on-image format.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "firmware/firmware.h"
#include "firmware/models.h"
#include "support/firmware_checks.h"
#include "support/image_builder.h"

namespace corvane {
namespace {

using test::BuildImage;
using test::BuiltImage;
using test::ImageSpec;
using test::SampleTree;
using test::TreeDifference;

constexpr const char* kPath = "images/firmware.bin";
constexpr const char* kRootName = "firmware.bin";

using test::Loaded;

std::unique_ptr<Loaded> Load(const Bytes& file, int model) {
  return test::Load(file, model, kPath);
}

std::string Rendered(const Result& r) {
  return RenderMessage(r.message);
}

void ExpectLayout(const TFirmware& fw, const test::ExpectedLayout& e) {
  EXPECT_EQ(fw.TableOffset, e.TableOffset);
  EXPECT_EQ(fw.DirectoryCount, e.DirectoryCount);
  EXPECT_EQ(fw.DirectoryCapacity, e.DirectoryCapacity);
  EXPECT_EQ(fw.FileTableOffset, e.FileTableOffset);
  EXPECT_EQ(fw.AddressTableOffset, e.AddressTableOffset);
  EXPECT_EQ(fw.AreaStart, e.AreaStart);
  EXPECT_EQ(fw.AreaEnd, e.AreaEnd);
  EXPECT_EQ(fw.SecondAreaStart, e.SecondAreaStart);
  EXPECT_EQ(fw.SecondAreaEnd, e.SecondAreaEnd);
  EXPECT_EQ(fw.FileSize, e.FileSize);
  EXPECT_EQ(fw.ImageSize, e.ImageSize);
}

// Models whose address array is found by the file-table block scan.
constexpr int kBlockScanModels[] = {1, 2, 3, 10, 13, 16, 20, 22, 23};
// Models whose loader splits the image in two regions.
constexpr int kSplitModels[] = {1, 2, 3, 5, 6, 10, 13, 16, 20, 21, 22, 23};
// Models whose table is found by "boot" (the others by the name the file begins with).
constexpr int kBootMarkerModels[] = {5, 6, 9, 12, 13, 16, 20, 21, 23, 24};

Bytes SaveOrFail(TFirmware& fw) {
  Bytes out;
  const Result r = fw.Build(SaveOptions{}, out);
  EXPECT_TRUE(r.ok()) << Rendered(r);
  return out;
}

// Saves, reloads the output: the trees must match. Saving the same firmware twice gives the same
// bytes and leaves its image alone. Bytes a writer does not write (alignment padding) keep what
// the image held, so a second open-and-save may still settle those; a third changes nothing.
void ExpectStableRoundTrip(const ImageSpec& spec) {
  const BuiltImage built = BuildImage(spec);
  auto first = Load(built.file, spec.model);
  ASSERT_TRUE(first->result.ok()) << Rendered(first->result);
  ASSERT_EQ(TreeDifference(first->tree, kRootName, spec.dirs), "");
  const Bytes image_before = first->fw.Image;
  const Bytes saved = SaveOrFail(first->fw);
  ASSERT_EQ(saved.size(), built.file.size());
  EXPECT_TRUE(SaveOrFail(first->fw) == saved);
  EXPECT_TRUE(first->fw.Image == image_before);

  auto second = Load(saved, spec.model);
  ASSERT_TRUE(second->result.ok()) << Rendered(second->result);
  EXPECT_EQ(TreeDifference(second->tree, first->tree), "");
  const Bytes saved2 = SaveOrFail(second->fw);
  auto third = Load(saved2, spec.model);
  ASSERT_TRUE(third->result.ok()) << Rendered(third->result);
  EXPECT_EQ(TreeDifference(third->tree, first->tree), "");
  EXPECT_TRUE(SaveOrFail(third->fw) == saved2) << "open and save does not settle";
}

class EveryModel : public ::testing::TestWithParam<int> {};

TEST_P(EveryModel, LoadsTheBuiltTreeAndLayout) {
  ImageSpec spec;
  spec.model = GetParam();
  spec.dirs = SampleTree();
  const BuiltImage built = BuildImage(spec);
  auto l = Load(built.file, spec.model);
  ASSERT_TRUE(l->result.ok()) << Rendered(l->result);
  EXPECT_TRUE(l->fw.Loaded);
  EXPECT_EQ(TreeDifference(l->tree, kRootName, spec.dirs), "");
  ExpectLayout(l->fw, built.layout);
}

TEST_P(EveryModel, RoundTripsUnchanged) {
  ImageSpec spec;
  spec.model = GetParam();
  spec.dirs = SampleTree();
  ExpectStableRoundTrip(spec);
}

class BlockScanModel : public ::testing::TestWithParam<int> {};
class SplitModel : public ::testing::TestWithParam<int> {};
class BootMarkerModel : public ::testing::TestWithParam<int> {};

TEST_P(BlockScanModel, RoundTripsWithBlockMarkers) {
  ImageSpec spec;
  spec.model = GetParam();
  spec.dirs = SampleTree();
  spec.markers = true;
  const BuiltImage built = BuildImage(spec);
  auto l = Load(built.file, spec.model);
  ASSERT_TRUE(l->result.ok()) << Rendered(l->result);
  ExpectLayout(l->fw, built.layout);
  ExpectStableRoundTrip(spec);
}

TEST_P(SplitModel, LoadsAndRoundTripsTwoRegions) {
  ImageSpec spec;
  spec.model = GetParam();
  spec.dirs = SampleTree(true);
  const BuiltImage built = BuildImage(spec);
  auto l = Load(built.file, spec.model);
  ASSERT_TRUE(l->result.ok()) << Rendered(l->result);
  EXPECT_EQ(TreeDifference(l->tree, kRootName, spec.dirs), "");
  ExpectLayout(l->fw, built.layout);
  ExpectStableRoundTrip(spec);
}

TEST_P(BootMarkerModel, RefusesAnImageWithoutTheTableMarker) {
  ImageSpec spec;
  spec.model = GetParam();
  spec.dirs = SampleTree();
  spec.dirs[0].name = "boat";  // the table is found by its first directory's name "boot"
  spec.allow_missing_marker = true;
  BuiltImage built = BuildImage(spec);
  auto l = Load(built.file, spec.model);
  EXPECT_EQ(l->result.outcome, Outcome::Rejected);
  EXPECT_EQ(l->result.message.Rows(), std::vector<int>{220});
  EXPECT_FALSE(l->fw.Loaded);
}

std::string ModelName(const ::testing::TestParamInfo<int>& info) {
  return "Model" + std::to_string(info.param);
}
INSTANTIATE_TEST_SUITE_P(DirectoryTableModels, EveryModel,
                         ::testing::ValuesIn(test::kDirectoryTableModels), ModelName);
INSTANTIATE_TEST_SUITE_P(DirectoryTableModels, BlockScanModel,
                         ::testing::ValuesIn(kBlockScanModels), ModelName);
INSTANTIATE_TEST_SUITE_P(DirectoryTableModels, SplitModel, ::testing::ValuesIn(kSplitModels),
                         ModelName);
INSTANTIATE_TEST_SUITE_P(DirectoryTableModels, BootMarkerModel,
                         ::testing::ValuesIn(kBootMarkerModels), ModelName);

}  // namespace
}  // namespace corvane
