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

// The read-back check names the first file whose bytes would differ. Without its "boot" directory
// a marker-searched image cannot be found again by its own loader: writing it would leave the
// receiver without a file system, so it is not written.
TEST(SaveReadBack, AnImageThatWouldNotLoadAgainIsNotWritten) {
  for (const int model : {13, 5, 9}) {
    SCOPED_TRACE(model);
    test::ImageSpec spec;
    spec.model = model;
    spec.dirs = test::SampleTree();
    test::TempDir dir;
    test::WriteFile(dir / "in.bin", test::BuildImage(spec).file);
    TArbol tree;
    TFirmware fw;
    ASSERT_TRUE(fw.Create(dir / "in.bin", tree, model).ok());
    const auto destination = dir / "out.bin";
    ASSERT_TRUE(fw.GuardaFirmware(destination, SaveOptions{}).ok());
    const Bytes first = test::ReadFile(destination);

    TNodo* file = fw.Root()->FirstChild()->FirstChild();
    file->Data.Datos[0] ^= 0xFF;
    EXPECT_EQ(fw.ReadBackDifference(first), "/boot/" + file->Text);

    BorraNodo(BuscaHijo(tree, fw.Root(), "boot", true));
    const Result r = fw.GuardaFirmware(destination, SaveOptions{});
    EXPECT_EQ(r.message.Rows().front(), rows::kReadBackDiffers);
    EXPECT_EQ(test::ReadFile(destination), first);  // untouched
  }
}

}  // namespace
}  // namespace corvane
