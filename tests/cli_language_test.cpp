// corvane-cli speaks the language chosen in the INIs folder's Corvane.ini.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/cli_runner.h"
#include "support/files.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

TEST(CliLanguage, MessagesFollowTheLanguageInUseOfTheInisFolder) {
  test::TempDir dir;
  const auto inis = dir.path() / "INIs";
  std::filesystem::create_directories(inis);
  test::WriteText(inis / "Corvane.ini", "[Corvane]\r\nLanguage2=Pirate\r\nLanguageUsed=2\r\n");
  test::WriteText(inis / "Pirate.ini", "[Pirate]\r\nTranslation5=Arr, wrong length!\r\n");
  test::WriteText(dir / "x.bin", "not a firmware");
  const auto err = dir / "err.txt";

  struct Case {
    std::string inis_option;
    const char* expected;
  } cases[] = {
      {"--inis " + test::Quote(inis), "Arr, wrong length!\n"},
      {"--inis " + test::Quote(dir / "nowhere"), "\xC2\xA1 El fichero no tiene la longitud adecuada !\n"},
  };
  for (const Case& c : cases) {
    const auto run = test::RunCli(c.inis_option + " tree " + test::Quote(dir / "x.bin") + " -m 2", err);
    EXPECT_EQ(run.exit_code, 2) << c.inis_option;
    EXPECT_EQ(run.err, c.expected) << c.inis_option;
  }
}

}  // namespace
}  // namespace corvane
