// Saving checks that the rebuilt image reads back as the tree being saved.
#include <gtest/gtest.h>

#include "base/message_rows.h"
#include "base/messages.h"
#include "firmware/firmware.h"
#include "support/files.h"
#include "support/image_builder.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

struct Case {
  int model;
  const char* dropped;  // the top-level directory removed before saving
};

// Without its "boot" directory a marker-searched image cannot be found again by its own loader:
// writing it would leave the receiver without a file system.
TEST(SaveReadBack, AnImageThatWouldNotLoadAgainIsNotWritten) {
  for (const Case c : {Case{13, "boot"}, Case{5, "boot"}, Case{9, "boot"}}) {
    test::ImageSpec spec;
    spec.model = c.model;
    spec.dirs = test::SampleTree();
    const test::BuiltImage built = test::BuildImage(spec);
    test::TempDir dir;
    const auto source = dir / "in.bin";
    test::WriteFile(source, built.file);

    TArbol tree;
    TFirmware fw;
    ASSERT_TRUE(fw.Create(source, tree, c.model).ok()) << c.model;
    const auto destination = dir / "out.bin";
    ASSERT_TRUE(fw.GuardaFirmware(destination, SaveOptions{}).ok()) << c.model;
    const Bytes first = test::ReadFile(destination);

    BorraNodo(BuscaHijo(tree, fw.Root(), c.dropped, true));
    const Result r = fw.GuardaFirmware(destination, SaveOptions{});
    EXPECT_EQ(r.outcome, Outcome::Refused) << c.model;
    EXPECT_EQ(r.message.Rows().front(), rows::kReadBackDiffers) << c.model;
    EXPECT_EQ(test::ReadFile(destination), first) << c.model;  // untouched
  }
}

TEST(SaveReadBack, AnUnchangedImageReadsBackWithoutDifference) {
  for (int model : {1, 2, 5, 6, 13, 24}) {
    test::ImageSpec spec;
    spec.model = model;
    spec.dirs = test::SampleTree();
    const test::BuiltImage built = test::BuildImage(spec);
    TArbol tree;
    TFirmware fw;
    ASSERT_TRUE(fw.CreateFromBytes("in.bin", built.file, tree, model).ok()) << model;
    Bytes out;
    ASSERT_TRUE(fw.Build(SaveOptions{}, out).ok()) << model;
    EXPECT_EQ(fw.ReadBackDifference(out), std::nullopt) << model;
    // A changed byte of a file is a difference at that file.
    TNodo* file = fw.Root()->FirstChild()->FirstChild();
    file->Data.Datos[0] ^= 0xFF;
    EXPECT_EQ(fw.ReadBackDifference(out), "/" + fw.Root()->FirstChild()->Text + "/" + file->Text)
        << model;
  }
}

}  // namespace
}  // namespace corvane
