#include <gtest/gtest.h>

#include "document/names.h"

namespace corvane {
namespace {

TEST(NodeNames, Latin1AndUtf8ConvertBothWaysForEveryByte) {
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  const std::string utf8 = Latin1ToUtf8(all);
  bool lossy = false;
  EXPECT_EQ(Utf8ToLatin1(utf8, &lossy), all);
  EXPECT_FALSE(lossy);
  EXPECT_EQ(Latin1ToUtf8("\xFF"), "\xC3\xBF");  // 0xFF is a name character like any other
}

TEST(NodeNames, Utf8BeyondLatin1IsReplacedAndReported) {
  bool lossy = false;
  EXPECT_EQ(Utf8ToLatin1("a\xE2\x82\xAC" "b", &lossy), "a_b");  // the euro sign
  EXPECT_TRUE(lossy);
  // Bytes that are not UTF-8 are a Latin-1 name already.
  lossy = false;
  EXPECT_EQ(Utf8ToLatin1("caf\xE9", &lossy), "caf\xE9");
  EXPECT_FALSE(lossy);
}

TEST(NodeNames, DeviceNamesGetATildeOnDiskAndLoseItOnTheWayBack) {
  EXPECT_EQ(DiskFileName("COM1.lut"), "~COM1.lut");
  EXPECT_EQ(DiskFileName("lpt9"), "~lpt9");
  EXPECT_EQ(DiskFileName("COMX.lut"), "COMX.lut");
  EXPECT_EQ(DiskFileName("COM"), "COM");
  EXPECT_EQ(NodeNameFromDisk("~COM1.lut"), "COM1.lut");
  EXPECT_EQ(NodeNameFromDisk("menu.cpi"), "menu.cpi");
}

struct HostileCase {
  std::string raw;
  std::string disk;
};

class HostileNames : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileNames, AreEscapedIntoASingleSafeComponentAndDecodedBack) {
  const HostileCase& c = GetParam();
  const std::string disk = DiskFileName(c.raw);
  EXPECT_EQ(disk, c.disk);
  EXPECT_EQ(disk.find('/'), std::string::npos);
  EXPECT_EQ(disk.find('\\'), std::string::npos);
  EXPECT_EQ(disk.find('\0'), std::string::npos);
  EXPECT_NE(disk, ".");
  EXPECT_NE(disk, "..");
  EXPECT_FALSE(disk.empty());
  EXPECT_EQ(NodeNameFromDisk(disk), c.raw);
  EXPECT_EQ(DiskFolderName(c.raw), c.disk);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileNames,
    ::testing::Values(HostileCase{"", "~%"}, HostileCase{".", "~%."}, HostileCase{"..", "~%.."},
                      HostileCase{"../../etc", "~%..%2F..%2Fetc"},
                      HostileCase{"a\\b", "~%a%5Cb"}, HostileCase{std::string("a\0b", 3), "~%a%00b"},
                      HostileCase{"~abc", "~%~abc"}, HostileCase{"~%41", "~%~%2541"},
                      HostileCase{" lead", "~%%20lead"}, HostileCase{"tail ", "~%tail%20"},
                      HostileCase{"a\r\nb", "~%a%0D%0Ab"}, HostileCase{"\xFF/", "~%\xC3\xBF%2F"}));

TEST(NodeNames, EveryOneAndTwoByteNameSurvivesDiskAndList) {
  for (int a = 0; a < 256; ++a) {
    for (int b = -1; b < 256; b += 17) {
      std::string raw(1, static_cast<char>(a));
      if (b >= 0) raw.push_back(static_cast<char>(b));
      const std::string disk = DiskFileName(raw);
      ASSERT_EQ(NodeNameFromDisk(disk), raw) << a << " " << b;
      ASSERT_EQ(NameFromList(ListName(raw)), raw) << a << " " << b;
      ASSERT_EQ(ListName(raw).find(' '), std::string::npos);
    }
  }
}

TEST(NodeNames, RecortaNombreKeepsEightDotThree) {
  const std::pair<std::string, std::string> cases[] = {
      {"report.text", "report.tex"},
      {"averyveryverylongname.ima", "averyver.ima"},
      {"noextensionatall", "noextens"},
      {"menu.cpi", "menu.cpi"},
      {"abcdefgh.txt", "abcdefgh.txt"},
      {"abcdefghi.txt", "abcdefgh.txt"},
      {"a.b.c.d", "a.b.c"},
      {"name.", "name."},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(RecortaNombre(in), out) << in;
}

TEST(NodeNames, RenamedNamesFollowTheTreeRules) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"verylongname.text", "verylong.tex"},
      {"a+b_c.pan", "a+b_c.pan"},
      {"with space.pan", std::nullopt},
      {".hidden", std::nullopt},
      {"", std::nullopt},
      {"abc.", "abc"},  // the first dot is the last character: the dot goes
      {"verylongname.", "verylong"},
      {".", std::nullopt},
      {"noextensionatall", "noextens"},
      {"menu.cpi", "menu.cpi"},
      {"caf\xE9.pan", std::nullopt},
      {"a/b", std::nullopt},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(NombreRenombrado(in), out) << in;
}

TEST(NodeNames, SectionWordMatchesInEitherEncoding) {
  EXPECT_TRUE(BeginsWithWord("Secci\xF3n-00", "Sección"));
  EXPECT_TRUE(BeginsWithWord("Sección-00", "Sección"));
  EXPECT_FALSE(BeginsWithWord("boot", "Sección"));
  EXPECT_TRUE(ContainsWord("Secci\xF3n-0A", "Sección-0"));
  EXPECT_FALSE(BeginsWithWord("anything", ""));
}

}  // namespace
}  // namespace corvane
