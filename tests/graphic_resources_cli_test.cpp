// dump, build, export and import of palettes, images and icon collections, end to end.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "base/bitmap.h"
#include "firmware/codec.h"
#include "support/cli_runner.h"
#include "support/files.h"
#include "support/image_builder.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using test::CliRun;
using Json = nlohmann::ordered_json;

std::string Q(const std::filesystem::path& p) { return test::Quote(p); }

Bytes Palette() {
  Bytes b;
  for (int i = 0; i < 64; ++i) b.push_back(static_cast<std::uint8_t>(i * 4));
  return b;
}

class ResourceCli : public ::testing::Test {
 protected:
  void SetUp() override {
    const Bytes image = {0, 4, 0, 2, 0x01, 0x23, 0x45, 0x67};
    const Bytes icons = {0, 0x0B, 0, 1, 0, 0, 'A', 0, 4, 2, 0, 0x12, 0x34, 0x56, 0x78};
    test::ImageSpec spec;
    spec.model = 2;
    spec.dirs = {{"G",
                  {{"A.lut", Compress(Palette())},
                   {"pic.ima", Compress(image)},
                   {"set.icz", Compress(icons)},
                   {"raw.lut", Palette()}}},
                 {"void", {}}};
    fw = dir / "fw.bin";
    test::WriteFile(fw, test::BuildImage(spec).file);
  }
  CliRun Cli(const std::string& args) { return test::RunCli(args, dir / "err.txt"); }

  test::TempDir dir;
  std::filesystem::path fw;
};

TEST_F(ResourceCli, DumpThenBuildReproducesEveryKind) {
  for (const char* path : {"g/A.LUT", "G/pic.ima", "G/set.icz"}) {
    const CliRun dump = Cli("dump " + Q(fw) + " -m 2 " + path + " --json");
    ASSERT_EQ(dump.exit_code, 0) << path << dump.err;
    const Json form = Json::parse(dump.out);
    test::WriteText(dir / "in.json", dump.out);
    const CliRun build = Cli("build " + form["kind"].get<std::string>() + " " + Q(dir / "in.json") +
                             " -o " + Q(dir / "out") + " --plain");
    ASSERT_EQ(build.exit_code, 0) << build.err;
    const CliRun again = Cli("build " + form["kind"].get<std::string>() + " " +
                             Q(dir / "in.json") + " -o " + Q(dir / "stored"));
    ASSERT_EQ(again.exit_code, 0) << again.err;
    EXPECT_EQ(Decompress(test::ReadFile(dir / "stored")), test::ReadFile(dir / "out"));
  }
  EXPECT_EQ(test::ReadFile(dir / "out"),
            (Bytes{0, 0x0B, 0, 1, 0, 0, 'A', 0, 4, 2, 0, 0x12, 0x34, 0x56, 0x78}));
  EXPECT_NE(Cli("dump " + Q(fw) + " -m 2 G/pic.ima").out.find("4 x 2"), std::string::npos);
}

TEST_F(ResourceCli, RefusalsPrintNothingAndWriteNothing) {
  for (const char* path : {"G", "G/none.ima", "G/raw.lut", "void"}) {
    const CliRun run = Cli("dump " + Q(fw) + " -m 2 " + path + " --json");
    EXPECT_EQ(run.exit_code, 2) << path;
    EXPECT_TRUE(run.out.empty()) << path;
    EXPECT_FALSE(run.err.empty()) << path;
  }
  test::WriteText(dir / "bad.json", R"({"kind":"palette","entries":[]})");
  EXPECT_EQ(Cli("build palette " + Q(dir / "bad.json") + " -o " + Q(dir / "o")).exit_code, 2);
  test::WriteText(dir / "bad.json", "{");
  EXPECT_EQ(Cli("build icons " + Q(dir / "bad.json") + " -o " + Q(dir / "o")).exit_code, 2);
  EXPECT_FALSE(std::filesystem::exists(dir / "o"));
}

TEST_F(ResourceCli, ExportAndImportGoThroughBitmapsAndJascFiles) {
  ASSERT_EQ(Cli("export " + Q(fw) + " -m 2 G/pic.ima -o " + Q(dir / "p.bmp")).exit_code, 0);
  const auto bitmap = ReadBitmap(test::ReadFile(dir / "p.bmp"));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->pixels, (Bytes{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(bitmap->colours[1], (Rgb{16, 20, 24}));  // the palette of G chosen
  ASSERT_EQ(Cli("export " + Q(fw) + " -m 2 G/set.icz --icon a -o " + Q(dir / "a.png")).exit_code, 0);
  EXPECT_EQ(test::ReadFile(dir / "a.png").at(1), 'P');
  ASSERT_EQ(Cli("export " + Q(fw) + " -m 2 G/A.lut -o " + Q(dir / "a.pal")).exit_code, 0);
  EXPECT_EQ(test::ReadText(dir / "a.pal").substr(0, 20), "JASC-PAL\r\n0100\r\n16\r\n");

  // A JASC import sets every mode to 1; a bitmap import replaces the picture.
  const std::filesystem::path out = dir / "out.bin";
  ASSERT_EQ(Cli("import " + Q(fw) + " -m 2 G/A.lut " + Q(dir / "a.pal") + " -o " + Q(out)).exit_code, 0);
  const Json palette = Json::parse(Cli("dump " + Q(out) + " -m 2 G/A.lut --json").out);
  EXPECT_EQ(palette["entries"][0]["mode"], 1);
  EXPECT_EQ(palette["entries"][1]["red"], 16);
  test::WriteFile(dir / "flecha.bmp", WriteBitmap(Bitmap{2, 1, 4, {}, {9, 10}}));
  ASSERT_EQ(Cli("import " + Q(out) + " -m 2 G/set.icz " + Q(dir / "flecha.bmp") + " -o " + Q(out)).exit_code, 0);
  EXPECT_EQ(Cli("import " + Q(out) + " -m 2 G/set.icz " + Q(dir / "flecha.bmp") + " -o " + Q(out)).exit_code, 3);
  ASSERT_EQ(Cli("import " + Q(out) + " -m 2 G/set.icz " + Q(dir / "flecha.bmp") + " --icon A --replace -o " + Q(out)).exit_code, 0);
  const Json icons = Json::parse(Cli("dump " + Q(out) + " -m 2 G/set.icz --json").out);
  ASSERT_EQ(icons["icons"].size(), 2u);
  EXPECT_EQ(icons["icons"][0]["name"], "flecha");
  EXPECT_EQ(icons["icons"][1]["rows"], Json({"9A"}));
  test::WriteFile(dir / "deep.bmp", WriteBitmap(Bitmap{2, 1, 8, {}, {9, 10}}));
  EXPECT_EQ(Cli("import " + Q(out) + " -m 2 G/pic.ima " + Q(dir / "deep.bmp") + " -o " + Q(dir / "x.bin")).exit_code, 2);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.bin"));
}

}  // namespace
}  // namespace corvane
