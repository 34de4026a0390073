// Loading and saving every Philips-family model (7, 8, 11, 19, 25, 26, 27) against images built
// independently from the on-image format.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "firmware/firmware.h"
#include "firmware/sizes.h"
#include "support/firmware_checks.h"
#include "support/image_builder_philips.h"

namespace corvane {
namespace {

using test::BuildPhilipsImage;
using test::BuiltPhilipsImage;
using test::PhilipsImageSpec;
using test::SampleTree;
using test::TreeDifference;

constexpr const char* kRootName = "firmware.bin";

using test::Loaded;

std::unique_ptr<Loaded> Load(const Bytes& file, int model) {
  return test::Load(file, model, std::string("images/") + kRootName);
}

std::string Rendered(const Result& r) { return RenderMessage(r.message); }

bool HasSecondArea(int model) { return model == 19 || model == 27; }
bool HasBlock(int model) { return model != 19; }

PhilipsImageSpec Spec(int model, bool second_area = false) {
  PhilipsImageSpec s;
  s.model = model;
  s.dirs = SampleTree(second_area);
  return s;
}

void ExpectLayout(const TFirmware& fw, const test::PhilipsLayout& e) {
  EXPECT_EQ(fw.TableOffset, e.common.TableOffset);
  EXPECT_EQ(fw.DirectoryCount, e.common.DirectoryCount);
  EXPECT_EQ(fw.DirectoryCapacity, e.common.DirectoryCapacity);
  EXPECT_EQ(fw.FileTableOffset, e.common.FileTableOffset);
  EXPECT_EQ(fw.AddressTableOffset, e.common.AddressTableOffset);
  EXPECT_EQ(fw.AreaStart, e.common.AreaStart);
  EXPECT_EQ(fw.AreaEnd, e.common.AreaEnd);
  EXPECT_EQ(fw.SecondAreaStart, e.common.SecondAreaStart);
  EXPECT_EQ(fw.SecondAreaEnd, e.common.SecondAreaEnd);
  EXPECT_EQ(fw.FileSize, e.common.FileSize);
  EXPECT_EQ(fw.ImageSize, e.common.ImageSize);
  EXPECT_EQ(fw.BaseAddress, e.BaseAddress);
  EXPECT_EQ(fw.SecondBaseAddress, e.SecondBaseAddress);
}

Bytes SaveOrFail(TFirmware& fw) {
  Bytes out;
  const Result r = fw.Build(SaveOptions{}, out);
  EXPECT_TRUE(r.ok()) << Rendered(r);
  return out;
}

// Open -> save -> open gives the same tree; saving the same firmware twice gives the same bytes;
// a second open-and-save settles.
void ExpectStableRoundTrip(const PhilipsImageSpec& spec) {
  const BuiltPhilipsImage built = BuildPhilipsImage(spec);
  auto first = Load(built.file, spec.model);
  ASSERT_TRUE(first->result.ok()) << Rendered(first->result);
  ASSERT_EQ(TreeDifference(first->tree, kRootName, spec.dirs), "");
  const Bytes image_before = first->fw.Image;
  const Bytes saved = SaveOrFail(first->fw);
  ASSERT_EQ(saved.size(), built.file.size());
  EXPECT_TRUE(SaveOrFail(first->fw) == saved) << "saving twice differs";
  EXPECT_TRUE(first->fw.Image == image_before);

  auto second = Load(saved, spec.model);
  ASSERT_TRUE(second->result.ok()) << Rendered(second->result);
  EXPECT_EQ(TreeDifference(second->tree, first->tree), "");
  EXPECT_EQ(second->fw.TableOffset, first->fw.TableOffset);
  EXPECT_EQ(second->fw.BaseAddress, first->fw.BaseAddress);
  EXPECT_EQ(second->fw.DirectoryCapacity, first->fw.DirectoryCapacity);
  if (spec.model == 25 || spec.model == 26) {
    // The writer zeroes the block after the last entry, where the block scan then stops.
    EXPECT_EQ(second->fw.AddressTableOffset,
              first->fw.FileTableOffset + 20 * CuentaArchivos(first->tree.Root()->FirstChild()));
  } else {
    EXPECT_EQ(second->fw.AddressTableOffset, first->fw.AddressTableOffset);
  }
  const Bytes saved2 = SaveOrFail(second->fw);
  auto third = Load(saved2, spec.model);
  ASSERT_TRUE(third->result.ok()) << Rendered(third->result);
  EXPECT_EQ(TreeDifference(third->tree, first->tree), "");
  EXPECT_TRUE(SaveOrFail(third->fw) == saved2) << "open and save does not settle";
}

class EveryPhilipsModel : public ::testing::TestWithParam<int> {};

TEST_P(EveryPhilipsModel, LoadsTheBuiltTreeAndLayout) {
  const PhilipsImageSpec spec = Spec(GetParam());
  const BuiltPhilipsImage built = BuildPhilipsImage(spec);
  auto l = Load(built.file, spec.model);
  ASSERT_TRUE(l->result.ok()) << Rendered(l->result);
  EXPECT_TRUE(l->fw.Loaded);
  EXPECT_EQ(TreeDifference(l->tree, kRootName, spec.dirs), "");
  ExpectLayout(l->fw, built.layout);
}

TEST_P(EveryPhilipsModel, LoadingErasesNothing) {
  const BuiltPhilipsImage built = BuildPhilipsImage(Spec(GetParam()));
  auto l = Load(built.file, GetParam());
  ASSERT_TRUE(l->result.ok());
  EXPECT_TRUE(l->fw.Image == built.file);
}

TEST_P(EveryPhilipsModel, RoundTripsUnchanged) { ExpectStableRoundTrip(Spec(GetParam())); }

TEST_P(EveryPhilipsModel, RoundTripsWithBlockMarkers) {
  if (!HasBlock(GetParam())) GTEST_SKIP() << "no file-table block";
  PhilipsImageSpec spec = Spec(GetParam());
  spec.markers = true;
  const BuiltPhilipsImage built = BuildPhilipsImage(spec);
  auto l = Load(built.file, spec.model);
  ASSERT_TRUE(l->result.ok()) << Rendered(l->result);
  ExpectLayout(l->fw, built.layout);
  ExpectStableRoundTrip(spec);
}

TEST_P(EveryPhilipsModel, RoundTripsWithoutSpareEntries) {
  if (!HasBlock(GetParam())) GTEST_SKIP() << "no file-table block";
  PhilipsImageSpec spec = Spec(GetParam());
  spec.spare_entries = 0;
  spec.markers = true;
  ExpectStableRoundTrip(spec);
}

TEST_P(EveryPhilipsModel, LoadsAndRoundTripsTheSecondArea) {
  if (!HasSecondArea(GetParam())) GTEST_SKIP() << "one area only";
  const PhilipsImageSpec spec = Spec(GetParam(), true);
  const BuiltPhilipsImage built = BuildPhilipsImage(spec);
  auto l = Load(built.file, spec.model);
  ASSERT_TRUE(l->result.ok()) << Rendered(l->result);
  EXPECT_EQ(TreeDifference(l->tree, kRootName, spec.dirs), "");
  ExpectLayout(l->fw, built.layout);
  ExpectStableRoundTrip(spec);
}

TEST_P(EveryPhilipsModel, RefusesAWrongLengthWithMessage5) {
  const int model = GetParam();
  const Bytes good = BuildPhilipsImage(Spec(model)).file;
  for (const std::size_t length : {std::size_t{0}, good.size() - 1, good.size() + 1}) {
    Bytes file = good;
    file.resize(length, 0xFF);
    auto l = Load(file, model);
    EXPECT_EQ(l->result.outcome, Outcome::Rejected) << length;
    EXPECT_EQ(l->result.message.Rows(), std::vector<int>{5}) << length;
    EXPECT_FALSE(l->fw.Loaded);
  }
}

TEST_P(EveryPhilipsModel, RefusesAnImageWithoutItsMarkerWithMessage220) {
  PhilipsImageSpec spec = Spec(GetParam());
  spec.dirs[0].name = "boat";  // the table is found by "boot" (or the 6071's text, spoiled below)
  spec.allow_missing_marker = true;
  BuiltPhilipsImage built = BuildPhilipsImage(spec);
  if (spec.model == 19) built.file[built.layout.common.TableOffset - 1] = 'X';
  auto l = Load(built.file, spec.model);
  EXPECT_EQ(l->result.outcome, Outcome::Rejected);
  EXPECT_EQ(l->result.message.Rows(), std::vector<int>{220});
  EXPECT_FALSE(l->fw.Loaded);
}

// The marker is searched from the model's search start: one just before it is not seen, one
// exactly at it is.
TEST_P(EveryPhilipsModel, MarkerBeforeTheSearchStartIsNotFoundOneAtItIs) {
  const int model = GetParam();
  const std::uint32_t start = test::PhilipsSearchStart(model);
  // Where the table must lie for its marker to begin at `start`.
  const std::uint32_t at_start = model == 19 ? start + 16 : start - 4;
  PhilipsImageSpec spec = Spec(model);
  spec.table_at = at_start;
  const BuiltPhilipsImage exact = BuildPhilipsImage(spec);
  auto l = Load(exact.file, model);
  ASSERT_TRUE(l->result.ok()) << Rendered(l->result);
  EXPECT_EQ(l->fw.TableOffset, at_start);
  EXPECT_EQ(TreeDifference(l->tree, kRootName, spec.dirs), "");

  spec.table_at = at_start - 1;
  spec.allow_missing_marker = true;
  auto early = Load(BuildPhilipsImage(spec).file, model);
  EXPECT_EQ(early->result.message.Rows(), std::vector<int>{220});
}

INSTANTIATE_TEST_SUITE_P(PhilipsModels, EveryPhilipsModel, ::testing::ValuesIn(test::kPhilipsModels),
                         [](const auto& info) { return "Model" + std::to_string(info.param); });

}  // namespace
}  // namespace corvane
