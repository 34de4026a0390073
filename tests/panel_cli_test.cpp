// corvane-cli render, end to end on a built image holding a palette and a panel.
#include <gtest/gtest.h>

#include "firmware/codec.h"
#include "resources/panel.h"
#include "support/cli_runner.h"
#include "support/files.h"
#include "support/image_builder.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class RenderCli : public ::testing::Test {
 protected:
  void SetUp() override {
    TMHWPanel panel;
    panel.name = "MENU";
    panel.elements.push_back(TMHWPanel::NewElement(kPanbox, 0));
    panel.elements[0].visibility = 0xFFFFFFFF;
    panel.elements.push_back(TMHWPanel::NewElement(kButton, 7));
    Bytes plain;
    ASSERT_TRUE(panel.Write("menu.paz", plain).ok());
    Bytes palette(64);
    for (int i = 0; i < 64; ++i) palette[i] = static_cast<std::uint8_t>(i * 4);
    test::ImageSpec spec;
    spec.model = 2;
    spec.capacity = 12;
    spec.dirs = {{"panels", {{"main.luz", Compress(palette)}, {"menu.paz", Compress(plain)}}}};
    image = dir / "fw.bin";
    test::WriteFile(image, test::BuildImage(spec).file);
  }
  test::CliRun Cli(const std::string& args) {
    return test::RunCli("render " + test::Quote(image) + " -m 2 " + args, dir / "err.txt");
  }

  test::TempDir dir;
  fs::path image;
};

TEST_F(RenderCli, WritesTheCanvasAsPngOrRefuses) {
  const fs::path out = dir / "out.png";
  test::CliRun run = Cli("panels/menu.paz --screen 07 --border --grid 5 -o " + test::Quote(out));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  Bytes png = test::ReadFile(out);
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(ByteView(png).u32be(16), 576u);  // IHDR width and height
  EXPECT_EQ(ByteView(png).u32be(20), 486u);

  const char* refused[] = {"panels/menu.paz --screen 05", "panels/main.luz",
                           "panels/menu.paz --palette panels:none.lut", "panels/none.paz"};
  for (const char* args : refused) {
    const fs::path none = dir / "none.png";
    run = Cli(std::string(args) + " -o " + test::Quote(none));
    EXPECT_EQ(run.exit_code, 2) << args;
    EXPECT_FALSE(fs::exists(none)) << args;
  }
}

}  // namespace
}  // namespace corvane
