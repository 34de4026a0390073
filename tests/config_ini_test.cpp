#include <gtest/gtest.h>

#include <string>

#include "config/ini.h"
#include "support/files.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using test::ToBytes;

IniFile FromText(const std::string& text) { return IniFile::Parse(ToBytes(text)); }
std::string Text(const IniFile& ini) {
  const Bytes bytes = ini.Serialize();
  return std::string(bytes.begin(), bytes.end());
}

TEST(Ini, ValuesAreTrimmedAndLoseOnePairOfQuotes) {
  const std::pair<const char*, const char*> cases[] = {
      {"k=plain", "plain"},           {"k =  spaced value  ", "spaced value"},
      {"k=\"  padded  \"", "  padded  "}, {"k=  \"x\"  ", "x"},
      {"k='single'", "single"},       {"k=\"unbalanced", "\"unbalanced"},
      {"k=ends with quote\"", "ends with quote\""}, {"k=\"mixed'", "\"mixed'"},
      {"k=\"\"", ""},                 {"k=\"", "\""},
      {"k=\"\"twice\"\"", "\"twice\""}, {"k=a=b=c", "a=b=c"},
      {"k=value ; not a comment", "value ; not a comment"}, {"k=", ""},
      {"k=\t tab\t", "tab"},
  };
  for (const auto& [line, value] : cases)
    EXPECT_EQ(FromText(std::string("[s]\r\n") + line + "\r\n").ReadString("s", "k", "default"), value)
        << line;
}

TEST(Ini, NamesIgnoreCaseAndSurroundingSpacesAndTheFirstOfTwoCounts) {
  const IniFile ini = FromText("[ CorVane ]\nLastOpenedDIRECTORY = /x/\n[Español]\nClave=1\n"
                               "[s]\nk=1\nk=2\n[S]\nk=3\nonly=4\n");
  EXPECT_EQ(ini.ReadString("CORVANE", "lastopeneddirectory", ""), "/x/");
  EXPECT_EQ(ini.ReadString("ESPAÑOL", "CLAVE", ""), "1");
  EXPECT_TRUE(ini.HasSection("corvane"));
  EXPECT_EQ(ini.ReadString("s", "k", ""), "1");
  EXPECT_EQ(ini.ReadString("s", "only", "d"), "d");
  EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"CorVane", "Español", "s"}));
  EXPECT_EQ(ini.KeyNames("S"), (std::vector<std::string>{"k"}));
}

TEST(Ini, MissingThingsGiveTheDefault) {
  const IniFile ini = FromText(
      "orphan=1\n"  // a key before any section belongs to none
      "[a]\n"
      "; k=comment\n"
      "nokey\n"    // no "=": defines nothing
      "[broken\n"  // no "]": not a section header
      "k2=2\n"
      "empty=\n");
  for (const auto& [section, key] : {std::pair{"a", "k"}, {"a", "; k"}, {"a", "nokey"},
                                     {"", "orphan"}, {"b", "k2"}})
    EXPECT_EQ(ini.ReadString(section, key, "d"), "d") << section << "." << key;
  EXPECT_EQ(ini.ReadString("a", "k2", "d"), "2");    // still in section a
  EXPECT_EQ(ini.ReadString("a", "empty", "d"), "");  // present but empty: not the default
  EXPECT_FALSE(ini.HasSection("broken"));
  EXPECT_EQ(IniFile().ReadInteger("a", "k", 42), 42);
}

// Integers read as the platform reads them: the leading digits count, beyond 32 bits the value
// wraps; booleans are integers, 0 false.
TEST(Ini, IntegersAndBooleans) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {"16", 16}, {"007", 7}, {"-5", -5}, {"+7", 7}, {"0x1F", 31}, {"0X1f", 31},
      {"0x0000000010", 16}, {"0xFFFFFFFF", -1}, {"0o17", 15}, {"0b101", 5},
      {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"2147483648", -2147483647 - 1}, {"4294967297", 1}, {"0x100000000", 0},
      {"8 ; eight", 8}, {"800px", 800}, {"1.5", 1}, {"12abc", 12}, {"0x1Fz", 31}, {"abc", 0},
      {"$10", 0}, {"-", 0}, {"0x", 0}, {"- 5", 0}, {"1 2", 1}, {"", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseIniInteger(text), value) << text;

  const IniFile ini = FromText("[s]\na=BytesPerLine\nb= 0x10 \nc=\nminus=-1\nword=true\n");
  EXPECT_EQ(ini.ReadInteger("s", "a", 3), 0);
  EXPECT_EQ(ini.ReadInteger("s", "b", 3), 16);
  EXPECT_EQ(ini.ReadInteger("s", "c", 3), 3);  // an empty value gives the default
  EXPECT_TRUE(ini.ReadBool("s", "minus", false));
  EXPECT_FALSE(ini.ReadBool("s", "word", true));  // no digits: 0
  EXPECT_TRUE(ini.ReadBool("s", "c", true));
}

TEST(Ini, ReadingAndWritingBackUnchangedIsByteExact) {
  for (const std::string t : {"", "\xEF\xBB\xBF[a]\r\nk=v\r\n",
                              "; header\r\n\r\n[a]\r\n  k = \"v\"  \r\nx\n[b]\r\nlast=1",
                              "\n\n[a]\n\tk\t=\tv\t\n   \n;c\n"})
    EXPECT_EQ(Text(FromText(t)), t);
}

TEST(Ini, WritingAKeyChangesOnlyItsLine) {
  const std::string before =
      "; Corvane settings\r\n\r\n[Other]\r\nLanguageUsed=9\r\n\r\n[CORVANE]\r\n"
      "Language1=Español\r\n  languageused = 2  \r\n; keep me\r\nLanguage2=English\r\n";
  IniFile ini = FromText(before);
  ASSERT_TRUE(ini.WriteInteger("Corvane", "LanguageUsed", 1));
  std::string after = before;
  const std::string line = "  languageused = 2  ";
  after.replace(after.find(line), line.size(), "languageused=1");
  EXPECT_EQ(Text(ini), after);
}

TEST(Ini, NewKeysGoAfterTheLastKeyOfTheirSectionAndNewSectionsAtTheEnd) {
  IniFile ini = FromText("[a]\nk=1\n; comment\n\n[b]\n\n[c]\nz=0\n");
  ASSERT_TRUE(ini.WriteString("A", "new", "x"));
  ASSERT_TRUE(ini.WriteString("b", "first", "y"));
  ASSERT_TRUE(ini.WriteString("d", "key", "z"));
  ASSERT_TRUE(ini.WriteString("a", "newer", "w"));
  EXPECT_EQ(Text(ini),
            "[a]\nk=1\nnew=x\nnewer=w\n; comment\n\n[b]\nfirst=y\n\n[c]\nz=0\n[d]\nkey=z\n");
}

// CR, LF and CR LF all end a line; a written line takes the file's own line end (the first one
// the file uses; CR LF for a new file).
TEST(Ini, LineEndsFollowTheFile) {
  const std::pair<const char*, const char*> cases[] = {  // after writing s.k=9 and s.n=1
      {"[s]\rk=1\rx=2\r", "[s]\rk=9\rx=2\rn=1\r"},
      {"[s]\nk=1\r\nx=2\r", "[s]\nk=9\r\nx=2\rn=1\n"},
      {"[s]\r\nk=1\rx=2", "[s]\r\nk=9\rx=2\r\nn=1"},
      {"[s]\nk=1", "[s]\nk=9\nn=1"},
      {"", "[s]\r\nk=9\r\nn=1\r\n"},
  };
  for (const auto& [before, after] : cases) {
    IniFile ini = FromText(before);
    EXPECT_EQ(ini.ReadInteger("s", "x", 2), 2) << before;
    ASSERT_TRUE(ini.WriteInteger("s", "k", 9));
    ASSERT_TRUE(ini.WriteBool("s", "n", true));
    EXPECT_EQ(Text(ini), after) << before;
  }
}

TEST(Ini, WrittenValuesReadBackAndWhatTheFormatCannotCarryIsRefused) {
  const std::string values[] = {"", " ", "  lead", "trail ", "\"quoted\"", "'single'", "\"",
                                "a \"b\" c", "Ya existe un archivo llamado : ", "¡ La clase \"",
                                "\" no se ha encontrado !", "x=y", ";z"};
  IniFile ini;
  for (std::size_t i = 0; i < std::size(values); ++i)
    ASSERT_TRUE(ini.WriteString("s", "k" + std::to_string(i), values[i]));
  const IniFile again = IniFile::Parse(ini.Serialize());
  for (std::size_t i = 0; i < std::size(values); ++i)
    EXPECT_EQ(again.ReadString("s", "k" + std::to_string(i), "default"), values[i]) << values[i];

  const std::string before = Text(ini);
  const std::tuple<const char*, const char*, const char*> refused[] = {
      {"s", "k0", "two\nlines"}, {"s", "k0", "cr\r"}, {"s", "a=b", "v"}, {"s", "", "v"},
      {"s", " k", "v"}, {"s", ";k", "v"}, {"s", "[k", "v"}, {"a]b", "k", "v"}, {"", "k", "v"},
      {"s\n[t]", "k", "v"}};
  for (const auto& [section, key, value] : refused)
    EXPECT_FALSE(ini.WriteString(section, key, value)) << section << "." << key << "=" << value;
  EXPECT_EQ(Text(ini), before);
}

// A file is written back in the encoding it was read in; a character its code page lacks is
// refused and the file stays as it was. New files are UTF-8.
TEST(Ini, EncodingsAreKeptWhenWriting) {
  test::TempDir dir;
  test::WriteText(dir / "a.ini", "[Espa\xF1ol]\r\nT0=Acci\xF3n\r\n; \xA1hola!\r\n");
  IniFile ini = IniFile::LoadOrEmpty(dir / "a.ini");
  EXPECT_EQ(ini.encoding(), TextEncoding::Windows1252);
  EXPECT_EQ(ini.ReadString("Español", "T0", ""), "Acción");
  ini.WriteString("español", "T1", "€ñ");
  EXPECT_EQ(ini.Save(dir / "a.ini"), "");
  const std::string written = "[Espa\xF1ol]\r\nT0=Acci\xF3n\r\nT1=\x80\xF1\r\n; \xA1hola!\r\n";
  EXPECT_EQ(test::ReadText(dir / "a.ini"), written);
  ini.WriteString("español", "T2", "☃");
  EXPECT_FALSE(ini.Encodable());
  EXPECT_NE(ini.Save(dir / "a.ini"), "");
  EXPECT_EQ(test::ReadText(dir / "a.ini"), written);

  IniFile fresh;
  fresh.WriteString("s", "k", "☃");
  EXPECT_TRUE(fresh.Encodable());
  EXPECT_EQ(Text(fresh), "[s]\r\nk=☃\r\n");

  const Bytes utf16 = EncodeText("[s]\r\nk=ñ\r\n", TextEncoding::Utf16LE);
  IniFile wide = IniFile::Parse(utf16);
  EXPECT_EQ(wide.ReadString("s", "k", ""), "ñ");
  EXPECT_EQ(wide.Serialize(), utf16);
  wide.WriteString("s", "k", "€");
  EXPECT_EQ(wide.Serialize(), EncodeText("[s]\r\nk=€\r\n", TextEncoding::Utf16LE));
}

TEST(Ini, LoadAndSave) {
  test::TempDir dir;
  EXPECT_FALSE(IniFile::Load(dir / "none.ini").has_value());
  EXPECT_FALSE(IniFile::Load(dir.path()).has_value());  // a folder is not a file
  EXPECT_EQ(IniFile::LoadOrEmpty(dir / "none.ini").ReadString("s", "k", "d"), "d");
  test::WriteText(dir / "a.ini", "; c\n[s]\nk=1\n");
  IniFile ini = IniFile::LoadOrEmpty(dir / "a.ini");
  ini.WriteInteger("s", "k", 2);
  EXPECT_EQ(ini.Save(dir / "a.ini"), "");
  EXPECT_EQ(test::ReadText(dir / "a.ini"), "; c\n[s]\nk=2\n");
  EXPECT_NE(ini.Save(dir / "missing" / "a.ini"), "");
}

}  // namespace
}  // namespace corvane
