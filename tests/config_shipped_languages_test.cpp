// The INIs folder shipped with the program (data/INIs): the main settings file and the Spanish
// and English language files.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "config/configuration.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

const fs::path kShipped = fs::path(CORVANE_SOURCE_DIR) / "data" / "INIs";

// The patterns of a file-dialog filter ("Text|*.txt|All|*.*"): every second part, with the bars.
std::string Patterns(const std::string& text) {
  std::string out;
  bool pattern = false;
  for (const char c : text)
    if (c == '|') {
      pattern = !pattern;
      out += c;
    } else if (pattern) {
      out += c;
    }
  return out;
}

std::string Edges(const std::string& text) {
  // What a text begins and ends with when that matters: spaces and quote characters.
  std::string edges;
  if (!text.empty() && (text.front() == ' ' || text.front() == '"')) edges += text.front();
  edges += '|';
  if (!text.empty() && (text.back() == ' ' || text.back() == '"')) edges += text.back();
  return edges;
}

TEST(ShippedLanguages, TheMainFileOffersSpanishThenEnglish) {
  Configuration config;
  ASSERT_TRUE(LeeConfiguracion(kShipped, "/p/", config).ok());
  EXPECT_EQ(config.language.Slot(1).caption, "&1 - Español");
  EXPECT_EQ(config.language.Slot(2).caption, "&2 - English");
  EXPECT_TRUE(config.language.Slot(2).enabled && !config.language.Slot(3).enabled);
  EXPECT_EQ(config.language.TickedSlot(), 1);
  EXPECT_EQ(config.settings.hex_editor_width, 600);  // nothing else set: the defaults
  config.language.Choose(2);
  EXPECT_EQ(config.language.Text(226), "Save the changes?");
  EXPECT_EQ(config.language.DirectTexts().at(50), "&File");
}

TEST(ShippedLanguages, EveryKeyIsInBothFiles) {
  for (const char* name : {"Español", "English"}) {
    const std::optional<IniFile> file = IniFile::Load(kShipped / (std::string(name) + ".ini"));
    ASSERT_TRUE(file.has_value()) << name;
    EXPECT_EQ(file->encoding(), TextEncoding::Utf8) << name;
    EXPECT_EQ(file->SectionNames(), std::vector<std::string>{name});
    EXPECT_EQ(file->KeyNames(name).size(), kLanguageKeys + OwnMessages().size()) << name;
    for (int key = 0; key < kLanguageKeys; ++key)
      EXPECT_TRUE(file->Find(name, LanguageKeyName(key)).has_value()) << name << " " << key;
    for (const OwnMessage& own : OwnMessages())
      EXPECT_TRUE(file->Find(name, LanguageKeyName(LanguageKeyForRow(own.row))).has_value())
          << name << " row " << own.row;
  }
}

TEST(ShippedLanguages, TheSpanishFileHoldsTheBuiltInTexts) {
  const LanguageTexts spanish =
      LanguageTexts::FromFile(IniFile::LoadOrEmpty(kShipped / "Español.ini"), "Español");
  const LanguageTexts defaults = LanguageTexts::Defaults();
  for (int row = 0; row < kTableRows; ++row)
    EXPECT_EQ(spanish.messages.Text(row), defaults.messages.Text(row)) << row;
  EXPECT_EQ(spanish.direct, defaults.direct);
}

TEST(ShippedLanguages, TheEnglishFileTranslatesEveryText) {
  const LanguageTexts english =
      LanguageTexts::FromFile(IniFile::LoadOrEmpty(kShipped / "English.ini"), "English");
  const LanguageTexts spanish = LanguageTexts::Defaults();
  // Texts that read the same in both languages.
  std::set<int> same = {53, 107, 156, 160, 295, 351, 352, 353};
  for (int row = 55; row <= 70; ++row) same.insert(row);  // "Color 0" .. "Color F"

  for (int row = 0; row < kMessageRows; ++row) {
    const std::string& en = english.messages.Text(row);
    const std::string& es = spanish.messages.Text(row);
    if (same.count(row)) {
      EXPECT_EQ(en, es) << row;
      continue;
    }
    EXPECT_NE(en, es) << row;
    EXPECT_FALSE(en.empty()) << row;
    // Spaces and quotes at the ends join rows to their arguments: they stay.
    EXPECT_EQ(Edges(en), Edges(es)) << row;
    EXPECT_EQ(Patterns(en), Patterns(es)) << row;  // file-dialog filters keep their patterns
  }
  for (const OwnMessage& own : OwnMessages()) {  // rows of our own: translated, edges kept
    const std::string& en = english.messages.Text(own.row);
    EXPECT_FALSE(en.empty()) << own.row;
    EXPECT_EQ(Edges(en), Edges(std::string(own.spanish))) << own.row;
  }
  for (const DirectTextEntry& entry : DirectTextTable()) {
    const std::string& en = english.direct.at(entry.key);
    EXPECT_NE(en, entry.spanish) << entry.key;
    EXPECT_FALSE(en.empty()) << entry.key;
  }
}

}  // namespace
}  // namespace corvane
