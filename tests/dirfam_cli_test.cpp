// The tree, repack and detect commands of corvane-cli on built images.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "base/crc32.h"
#include "firmware/firmware.h"
#include "support/cli_runner.h"
#include "support/files.h"
#include "support/image_builder.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using test::CliRun;

CliRun Cli(const std::string& args, const std::filesystem::path& err_file) {
  return test::RunCli(args, err_file);
}

std::string Quoted(const std::filesystem::path& p) { return test::Quote(p); }

class CliTest : public ::testing::Test {
 protected:
  std::filesystem::path Image(int model, const std::string& name, bool two_regions = false) {
    test::ImageSpec spec;
    spec.model = model;
    spec.dirs = test::SampleTree(two_regions);
    const auto path = dir_ / name;
    test::WriteFile(path, test::BuildImage(spec).file);
    return path;
  }
  std::string Err() { return test::ReadText(dir_ / "err.txt"); }
  CliRun Do(const std::string& args) { return Cli(args, dir_ / "err.txt"); }

  test::TempDir dir_;
};

TEST_F(CliTest, TreeJsonGivesModelLayoutAndFiles) {
  const auto path = Image(21, "conax.bin", true);
  const CliRun run = Do("tree " + Quoted(path) + " -m 21 --json");
  ASSERT_EQ(run.exit_code, 0) << Err();
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["model"], 21);
  EXPECT_EQ(j["root"], "conax.bin");
  EXPECT_EQ(j["layout"]["BaseAddress"], 0x81200000u);
  EXPECT_EQ(j["layout"]["BlockCount"], 32);
  EXPECT_EQ(j["layout"]["SecondBlockCount"], 16);
  EXPECT_EQ(j["layout"]["ImageSize"], 48u * 0x10000);
  EXPECT_EQ(j["layout"]["DirectoryCount"], 4);
  EXPECT_GT(j["layout"]["SecondAreaStart"].get<std::uint32_t>(), 0u);
  EXPECT_EQ(j["layout"].size(), 17u);
  const auto& root = j["tree"];
  EXPECT_EQ(root["name"], "conax.bin");
  EXPECT_EQ(root["dir"], true);
  ASSERT_EQ(root["children"].size(), 4u);
  const auto& boot = root["children"][0];
  EXPECT_EQ(boot["name"], "boot");
  ASSERT_EQ(boot["children"].size(), 3u);
  EXPECT_EQ(boot["children"][1]["name"], "logo.imz");
  EXPECT_EQ(boot["children"][1]["dir"], false);
  EXPECT_EQ(boot["children"][1]["size"], 7);
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08x", Crc32(test::PatternBytes(7, 2)));
  EXPECT_EQ(boot["children"][1]["crc32"], crc);
  EXPECT_EQ(root["children"][2]["children"].size(), 0u);
}

TEST_F(CliTest, TreeTextAndRefusal) {
  const auto path = Image(24, "ts2.bin");
  CliRun run = Do("tree " + Quoted(path) + " -m 24");
  ASSERT_EQ(run.exit_code, 0) << Err();
  EXPECT_NE(run.out.find("ts2.bin/\n  boot/\n    boot.cpz  301\n"), std::string::npos) << run.out;
  run = Do("tree " + Quoted(path) + " -m 16");  // wrong length for a TS1A
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(Err(), "¡ El fichero no tiene la longitud adecuada !\n");
  run = Do("tree " + Quoted(dir_ / "absent.bin") + " -m 24");
  EXPECT_EQ(run.exit_code, 4);
}

TEST_F(CliTest, RepackWritesTheWriterOutput) {
  const auto path = Image(2, "bct15.bin");
  const auto out = dir_ / "out.bin";
  const CliRun run = Do("repack " + Quoted(path) + " -m 2 -o " + Quoted(out));
  ASSERT_EQ(run.exit_code, 0) << Err();
  TArbol tree;
  TFirmware fw;
  ASSERT_TRUE(fw.CreateFromBytes(path, test::ReadFile(path), tree, 2).ok());
  Bytes expected;
  ASSERT_TRUE(fw.Build({}, expected).ok());
  EXPECT_TRUE(test::ReadFile(out) == expected);
}

TEST_F(CliTest, RepackRefusalCreatesNothing) {
  // A Nokia 9701s image with a second region cannot be saved whole by its writer when its block
  // has no spare entries.
  test::ImageSpec spec;
  spec.model = 13;
  spec.dirs = test::SampleTree(true);
  spec.spare_entries = 0;
  const auto path = dir_ / "nokia.bin";
  test::WriteFile(path, test::BuildImage(spec).file);
  const auto out = dir_ / "never.bin";
  const CliRun run = Do("repack " + Quoted(path) + " -m 13 -o " + Quoted(out));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(Err(),
            "Hay demasiados archivos dentro del firmware.\n"
            "Borra algún archivo para poder guardar los cambios.\n");
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CliTest, DetectRanksTheCandidates) {
  // A BCT-15xx image: its checksum table decides.
  CliRun run = Do("detect " + Quoted(Image(2, "bct15.bin")));
  ASSERT_EQ(run.exit_code, 0) << Err();
  EXPECT_EQ(run.out.substr(0, 2), "2\t") << run.out;
  EXPECT_NE(run.out.find("block checksums match"), std::string::npos);
  // Without -m the commands use it.
  run = Do("tree " + Quoted(dir_ / "bct15.bin") + " --json");
  ASSERT_EQ(run.exit_code, 0) << Err();
  EXPECT_EQ(nlohmann::json::parse(run.out)["model"], 2);

  // A BCT-14xx image also opens as a Kenwood (same loader, same settings) and as a BCT-17xx,
  // whose checksum table does not match: no clear winner.
  run = Do("detect " + Quoted(Image(1, "bct14.bin")));
  ASSERT_EQ(run.exit_code, 0);
  EXPECT_NE(run.out.find("1\t"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\n10\t"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.substr(0, 2), "1\t") << run.out;
  EXPECT_GT(run.out.find("\n22\t"), run.out.find("\n10\t")) << run.out;
  EXPECT_NE(run.out.find("block checksums do not match"), std::string::npos) << run.out;
  run = Do("tree " + Quoted(dir_ / "bct14.bin"));
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(Err().find("-m"), std::string::npos);

  // A Strong 8100 block file: other big-endian loaders find a table in the raw file too, but
  // read no files from it.
  run = Do("detect " + Quoted(Image(6, "s8100.bin")));
  EXPECT_EQ(run.out.substr(0, 2), "6\t") << run.out;
  EXPECT_NE(run.out.find("no files"), std::string::npos) << run.out;
  run = Do("tree " + Quoted(dir_ / "s8100.bin") + " --json");
  ASSERT_EQ(run.exit_code, 0) << Err();
  EXPECT_EQ(nlohmann::json::parse(run.out)["model"], 6);

  test::WriteText(dir_ / "junk.bin", "nothing here");
  run = Do("detect " + Quoted(dir_ / "junk.bin"));
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_TRUE(run.out.empty());
}

}  // namespace
}  // namespace corvane
