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

// Names a disk cannot hold as they are become one escaped component that decodes back.
TEST(NodeNames, HostileNamesAreEscapedIntoASingleSafeComponentAndDecodedBack) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "~%"}, {".", "~%."}, {"..", "~%.."}, {"../../etc", "~%..%2F..%2Fetc"},
      {"a\\b", "~%a%5Cb"}, {std::string("a\0b", 3), "~%a%00b"}, {"~abc", "~%~abc"},
      {"~%41", "~%~%2541"}, {" lead", "~%%20lead"}, {"tail ", "~%tail%20"},
      {"a\r\nb", "~%a%0D%0Ab"}, {"\xFF/", "~%\xC3\xBF%2F"}};
  for (const auto& [raw, disk] : cases) {
    EXPECT_EQ(DiskFileName(raw), disk);
    EXPECT_EQ(DiskFolderName(raw), disk);
    EXPECT_EQ(NodeNameFromDisk(disk), raw) << disk;
  }
}

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

TEST(NodeNames, ShortenedAndRenamedNamesKeepEightDotThree) {
  const std::pair<std::string, std::string> shortened[] = {
      {"report.text", "report.tex"}, {"averyveryverylongname.ima", "averyver.ima"},
      {"noextensionatall", "noextens"}, {"abcdefghi.txt", "abcdefgh.txt"}, {"a.b.c.d", "a.b.c"},
      {"name.", "name."}, {"", ""}};
  for (const auto& [in, out] : shortened) EXPECT_EQ(RecortaNombre(in), out) << in;
  // Renaming follows the tree's rules: no spaces, no leading dot, Latin-1 or slash; a last dot goes.
  const std::pair<std::string, std::optional<std::string>> renamed[] = {
      {"verylongname.text", "verylong.tex"}, {"a+b_c.pan", "a+b_c.pan"}, {"with space.pan", std::nullopt},
      {".hidden", std::nullopt}, {"", std::nullopt}, {"abc.", "abc"}, {"verylongname.", "verylong"},
      {".", std::nullopt}, {"noextensionatall", "noextens"}, {"caf\xE9.pan", std::nullopt},
      {"a/b", std::nullopt}};
  for (const auto& [in, out] : renamed) EXPECT_EQ(NombreRenombrado(in), out) << in;
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
