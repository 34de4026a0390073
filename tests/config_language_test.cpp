#include <gtest/gtest.h>

#include <set>
#include <string>

#include "config/language.h"
#include "support/files.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

// Every row has a key of its own and maps back from it; the keys no row takes are exactly the
// direct texts'. (Which key each row takes is pinned by the shipped Spanish file holding the
// built-in texts.) Rows of our own continue after the original keys.
TEST(LanguageKeys, RowsAndDirectKeysShareOutAllKeys) {
  std::set<int> keys;
  for (int row = 0; row < kMessageRows; ++row) {
    const int key = LanguageKeyForRow(row);
    ASSERT_GE(key, 0);
    ASSERT_LT(key, kLanguageKeys);
    EXPECT_EQ(RowForLanguageKey(key), row);
    EXPECT_TRUE(keys.insert(key).second) << "key " << key << " used twice";
  }
  std::set<int> direct;
  for (int key = 0; key < kLanguageKeys; ++key)
    if (!keys.count(key)) direct.insert(key);
  std::set<int> table;
  for (const DirectTextEntry& e : DirectTextTable()) table.insert(e.key);
  EXPECT_EQ(direct, table);
  EXPECT_EQ(table.size(), 54u);
  for (const int key : {-1, 407, 408}) EXPECT_EQ(IsDirectLanguageKey(key), false) << key;
  EXPECT_TRUE(IsDirectLanguageKey(*table.begin()));
  EXPECT_EQ(LanguageKeyForRow(354), 408);
  EXPECT_EQ(RowForLanguageKey(408), 354);
  EXPECT_EQ(LanguageKeyForRow(kTableRows - 1), kTableRows + 53);
  for (const int row : {-1, kTableRows}) EXPECT_EQ(LanguageKeyForRow(row), -1);
  EXPECT_EQ(RowForLanguageKey(kTableRows + 54), -1);
  EXPECT_EQ(LanguageKeyName(407), "Translation407");
}

TEST(LanguageKeys, EachItemTextIsSetByOneKey) {
  // No caption or hint is set twice (a later key would silently win).
  std::set<std::pair<MainWindowItem, TextRole>> seen;
  for (const DirectTextEntry& e : DirectTextTable()) {
    for (const TextRole role : {TextRole::Caption, TextRole::Hint}) {
      if (e.role != role && e.role != TextRole::CaptionAndHint) continue;
      EXPECT_TRUE(seen.insert({e.item, role}).second) << "key " << e.key;
    }
    EXPECT_FALSE(e.spanish.empty()) << e.key;
  }
}

// An INIs folder with a main settings file and language files.
class LanguageFolder : public ::testing::Test {
 protected:
  void Main(const std::string& body) {
    test::WriteText(dir_ / "Corvane.ini", "[Corvane]\r\n" + body);
  }
  InterfaceLanguage Start() {
    InterfaceLanguage language;
    language.Setup(IniFile::LoadOrEmpty(dir_ / "Corvane.ini"), dir_.path());
    return language;
  }
  test::TempDir dir_;
};

TEST_F(LanguageFolder, NoLanguageNamesLeaveEverySlotDisabledAndSpanish) {
  const InterfaceLanguage language = Start();  // not even a Corvane.ini
  for (int slot = 0; slot <= 10; ++slot) EXPECT_FALSE(language.Slot(slot).enabled) << slot;
  EXPECT_EQ(language.Slot(9).caption, "9 -");
  EXPECT_EQ(language.TickedSlot(), 1);
  EXPECT_EQ(language.Text(0), DefaultMessages()[0]);
  EXPECT_EQ(language.DirectTexts().at(50), "&Archivo");
}

// Rows and direct texts the file has change; the rest keep the built-in text.
TEST_F(LanguageFolder, APartialFileChangesOnlyItsRows) {
  Main("Language3=Partial\r\nLanguageUsed=3\r\n");
  test::WriteText(dir_ / "Partial.ini",
                  "[Partial]\r\nTranslation0=Zero\r\nTranslation125=Row 206\r\n"
                  "Translation58=\"  Extract  \"\r\nTranslation320=Find...\r\n"
                  "Translation999=ignored\r\n[Other]\r\nTranslation1=not this section\r\n");
  const InterfaceLanguage language = Start();
  EXPECT_EQ(language.Slot(3).caption, "&3 - Partial");
  EXPECT_TRUE(language.Slot(3).enabled && language.TickedSlot() == 3 && language.LoadedSlot() == 3);
  EXPECT_EQ(language.Text(0), "Zero");
  EXPECT_EQ(language.Text(206), "Row 206");
  for (const int row : {1, 205, 207, 353})
    EXPECT_EQ(language.Text(row), DefaultMessages()[static_cast<std::size_t>(row)]) << row;
  EXPECT_EQ(language.DirectTexts().at(58), "  Extract  ");
  EXPECT_EQ(language.DirectTexts().at(59), "&Insertar con compresión");
  EXPECT_EQ(language.DirectTexts().size(), 54u);
  EXPECT_EQ(language.Texts().ItemText(MainWindowItem::Search, TextRole::Hint), "Find...");
}

// A missing file leaves its slot disabled (ticked all the same); one deleted after start-up loads
// as the defaults and keeps its caption.
TEST_F(LanguageFolder, MissingLanguageFiles) {
  Main("Language1=Gone\r\nLanguage2=Here\r\nLanguageUsed=1\r\n");
  test::WriteText(dir_ / "Here.ini", "[Here]\r\nTranslation0=here\r\n");
  InterfaceLanguage language = Start();
  EXPECT_FALSE(language.Slot(1).enabled);
  EXPECT_EQ(language.Slot(1).caption, "1 -");
  EXPECT_EQ(language.Slot(1).name, "Gone");
  EXPECT_EQ(language.TickedSlot(), 1);
  EXPECT_EQ(language.Text(0), DefaultMessages()[0]);
  language.Choose(2);
  EXPECT_EQ(language.Text(0), "here");
  EXPECT_EQ(language.SlotToSave(), 2);
  std::filesystem::remove(dir_ / "Here.ini");
  language.Load(2);
  EXPECT_EQ(language.Text(0), DefaultMessages()[0]);
  EXPECT_EQ(language.Slot(2).caption, "&2 - Here");
}

TEST_F(LanguageFolder, LanguageUsedOutsideTheSlots) {
  test::WriteText(dir_ / "X.ini", "[X]\r\nTranslation0=x\r\n");
  Main("Language1=X\r\nLanguageUsed=0\r\n");
  InterfaceLanguage none = Start();
  EXPECT_EQ(none.TickedSlot(), 0);
  EXPECT_EQ(none.SlotToSave(), 1);
  EXPECT_EQ(none.Text(0), DefaultMessages()[0]);
  none.Choose(0);  // nothing ticked: the first slot is taken
  EXPECT_EQ(none.LoadedSlot(), 1);
  EXPECT_EQ(none.Text(0), "x");

  Main("Language1=X\r\nLanguageUsed=12\r\n");
  const InterfaceLanguage high = Start();
  EXPECT_EQ(high.TickedSlot(), 0);
  EXPECT_EQ(high.LoadedSlot(), 0);
  EXPECT_EQ(high.Text(0), DefaultMessages()[0]);
}

// Names of files and sections ignore letter case, also in a file written in Windows-1252.
TEST_F(LanguageFolder, NamesIgnoreCaseAndWindows1252FilesRead) {
  Main("Language1=english\r\nLanguage2=Espa\xF1ol\r\n");  // a main settings file written on Windows
  test::WriteText(dir_ / "ENGLISH.ini", "[English]\r\ntranslation0=Upper\r\n");
  test::WriteText(dir_ / "Español.ini",
                  "[ESPA\xD1OL]\r\nTranslation8=\"Ya existe : \"\r\nTranslation9=\xBFS\xED?\r\n");
  InterfaceLanguage language = Start();
  EXPECT_EQ(language.Slot(1).caption, "&1 - english");
  EXPECT_EQ(language.Text(0), "Upper");
  EXPECT_EQ(language.Slot(2).caption, "&2 - Español");
  language.Choose(2);
  EXPECT_EQ(language.Text(8), "Ya existe : ");
  EXPECT_EQ(language.Text(9), "¿Sí?");
}

}  // namespace
}  // namespace corvane
