#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/message_rows.h"
#include "config/configuration.h"
#include "config/paths.h"
#include "support/files.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramFolder = "/opt/corvane/";

class ConfigurationFolder : public ::testing::Test {
 protected:
  Configuration Read() {
    Configuration config;
    EXPECT_TRUE(LeeConfiguracion(dir_.path(), kProgramFolder, config).ok());
    return config;
  }
  std::string MainText() { return test::ReadText(dir_ / "Corvane.ini"); }
  test::TempDir dir_;
};

TEST_F(ConfigurationFolder, AnEmptyFolderGivesTheDefaultsAndWritesNothing) {
  Configuration config = Read();
  EXPECT_EQ(config.settings.last_export_directory, kProgramFolder);
  EXPECT_EQ(config.settings.bytes_per_line, 16);
  EXPECT_EQ(config.var_types[5].type, "???");
  EXPECT_EQ(config.language.Text(226), "¿ Guardar los cambios ?");
  EXPECT_FALSE(config.language.Slot(1).enabled);
  config.settings.last_firmware_type_opened = 7;
  EXPECT_TRUE(GuardaConfiguracion(dir_.path(), config).ok());
  EXPECT_TRUE(fs::is_empty(dir_.path()));
}

TEST_F(ConfigurationFolder, AMissingFolderIsReportedAndReadsAsDefaults) {
  const fs::path missing = dir_ / "INIs";
  const Result check = CheckInisFolder(missing);
  EXPECT_EQ(check.outcome, Outcome::IoError);
  EXPECT_EQ(RenderMessage(check.message),
            "INIs directory not found!\r\nCreate a directory called INIs and move all the ini "
            "files to that directory.");
  EXPECT_TRUE(CheckInisFolder(dir_.path()).ok());
  Configuration config;
  EXPECT_TRUE(LeeConfiguracion(missing, kProgramFolder, config).ok());
  EXPECT_EQ(config.settings.hex_editor_width, 600);
}

TEST_F(ConfigurationFolder, EveryKeyIsRead) {
  test::WriteText(dir_ / "Corvane.ini",
                  "[corvane]\r\n"
                  "LastFirmwareTypeOpened=263\r\n"  // one byte: 263 & 0xFF
                  "LastOpenedDirectory=C:\\Firmwares\\\r\n"
                  "LastSavedDirectory=\"/home/u/out \"\r\n"
                  "LastInsertDirectory=/in/\r\n"
                  "LastExportDirectory=/ex/\r\n"
                  "BytesPerLine=0x20\r\n"
                  "ColumnWidth=-1\r\n"
                  "HexEditorWidth=1024\r\n"
                  "LimitPanelsWith183Widgets=1\r\n"
                  "LowercaseFiles=2\r\n"
                  "OpenSearchResults=yes\r\n"  // no digits: 0
                  "CompressWhenInsert=0\r\n");
  const Settings s = Read().settings;
  EXPECT_EQ(s.last_firmware_type_opened, 7);
  EXPECT_EQ(s.last_opened_directory, "C:\\Firmwares\\");
  EXPECT_EQ(s.last_saved_directory, "/home/u/out ");
  EXPECT_EQ(s.last_insert_directory, "/in/");
  EXPECT_EQ(s.last_export_directory, "/ex/");
  EXPECT_EQ(s.bytes_per_line, 32);
  EXPECT_EQ(s.column_width, 255);
  EXPECT_EQ(s.hex_editor_width, 1024);
  EXPECT_TRUE(s.limit_panels_with_183_widgets);
  EXPECT_TRUE(s.lowercase_files);
  EXPECT_FALSE(s.open_search_results);
  EXPECT_FALSE(s.compress_when_insert);
}

TEST_F(ConfigurationFolder, WritingKeepsTheRestOfTheFileAndAddsKeysInOrder) {
  test::WriteText(dir_ / "Corvane.ini",
                  "; my languages\n"
                  "[Corvane]\n"
                  "Language1=Lang\n"
                  "HexEditorWidth=700\n"
                  "\n"
                  "[Mine]\n"
                  "keep=this\n");
  test::WriteText(dir_ / "Lang.ini", "[Lang]\n");
  Configuration config = Read();
  Settings& s = config.settings;
  s.last_firmware_type_opened = 7;
  s.last_opened_directory = "/a/";
  s.last_saved_directory = " b ";
  s.last_insert_directory = "/c/";
  s.last_export_directory = "bad\nfolder";  // cannot be stored: the key keeps its old value
  s.bytes_per_line = 8;
  s.column_width = 2;
  s.hex_editor_width = 640;
  s.lowercase_files = true;
  ASSERT_TRUE(GuardaConfiguracion(dir_.path(), config).ok());
  EXPECT_EQ(MainText(),
            "; my languages\n"
            "[Corvane]\n"
            "Language1=Lang\n"
            "HexEditorWidth=640\n"
            "LanguageUsed=1\n"
            "LastFirmwareTypeOpened=7\n"
            "LastOpenedDirectory=/a/\n"
            "LastSavedDirectory=\" b \"\n"
            "LastInsertDirectory=/c/\n"
            "BytesPerLine=8\n"
            "ColumnWidth=2\n"
            "LimitPanelsWith183Widgets=0\n"
            "LowercaseFiles=1\n"
            "OpenSearchResults=0\n"
            "CompressWhenInsert=0\n"
            "\n"
            "[Mine]\n"
            "keep=this\n");
  // What was written reads back.
  Configuration again = Read();
  EXPECT_EQ(again.settings.last_saved_directory, " b ");
  EXPECT_EQ(again.settings.last_export_directory, kProgramFolder);
  EXPECT_TRUE(again.settings.lowercase_files);
  EXPECT_TRUE(again.language.Slot(1).enabled);
}

TEST_F(ConfigurationFolder, TheTickedLanguageIsWrittenBack) {
  test::WriteText(dir_ / "Corvane.ini", "[Corvane]\r\nLanguage2=B\r\nLanguageUsed=1\r\n");
  test::WriteText(dir_ / "B.ini", "[B]\r\n");
  Configuration config = Read();
  config.language.Choose(2);
  ASSERT_TRUE(GuardaConfiguracion(dir_.path(), config).ok());
  EXPECT_EQ(Read().language.TickedSlot(), 2);
}

TEST_F(ConfigurationFolder, AnUnreadableMainFileIsNotOverwritten) {
  fs::create_directory(dir_ / "Corvane.ini");  // exists, but cannot be read as a file
  const Configuration config = Read();
  EXPECT_EQ(GuardaConfiguracion(dir_.path(), config).outcome, Outcome::IoError);
  EXPECT_TRUE(fs::is_directory(dir_ / "Corvane.ini"));
}

TEST_F(ConfigurationFolder, AWindows1252FileStaysWindows1252OrIsNotWritten) {
  const std::string before = "[Corvane]\r\nLanguage1=Espa\xF1ol\r\nLastSavedDirectory=/\r\n";
  test::WriteText(dir_ / "Corvane.ini", before);
  Configuration config = Read();
  config.settings.last_saved_directory = "/m\xC3\xBAsica/";  // "ú" is in the code page
  ASSERT_TRUE(GuardaConfiguracion(dir_.path(), config).ok());
  EXPECT_NE(MainText().find("LastSavedDirectory=/m\xFAsica/\r\n"), std::string::npos);
  const std::string written = MainText();
  config.settings.last_saved_directory = "/\xE2\x98\x83/";  // a snowman is not
  const Result refused = GuardaConfiguracion(dir_.path(), config);
  EXPECT_EQ(refused.outcome, Outcome::Refused);
  EXPECT_EQ(refused.message.Rows(), std::vector<int>{rows::kIniNotWindows1252});
  EXPECT_EQ(MainText(), written);
}

TEST_F(ConfigurationFolder, FileNamesFromWindowsMayDifferInCase) {
  test::WriteText(dir_ / "CORVANE.INI", "[CORVANE]\r\nHexEditorWidth=800\r\n");
  test::WriteText(dir_ / "var.ini", "[01]\r\ntype=byte\r\n");
  Configuration config = Read();
  EXPECT_EQ(config.settings.hex_editor_width, 800);
  EXPECT_EQ(config.var_types[1].type, "byte");
  config.settings.hex_editor_width = 900;
  ASSERT_TRUE(GuardaConfiguracion(dir_.path(), config).ok());
  EXPECT_FALSE(fs::exists(dir_ / "Corvane.ini"));
  EXPECT_EQ(IniFile::LoadOrEmpty(dir_ / "CORVANE.INI").ReadInteger("corvane", "HexEditorWidth", 0),
            900);
}

// Sections are two hexadecimal digits, 00 to 20, in either letter case; the rest keep "???".
TEST_F(ConfigurationFolder, VarIniSectionsThatArePresent) {
  test::WriteText(dir_ / "Var.ini",
                  "[03]\r\ntype=string\r\nparcount=2\r\nparlen=300\r\n"
                  "[20]\r\ntype=last\r\n[1f]\r\ntype=lower\r\n[21]\r\ntype=no\r\n");
  const Configuration config = Read();
  const VarType& v = config.var_types[3];
  EXPECT_EQ(v.type, "string");
  EXPECT_EQ(v.parcount, 2);
  EXPECT_EQ(v.parlen, 300 & 0xFF);
  EXPECT_EQ(config.var_types[32].type, "last");
  EXPECT_EQ(config.var_types[31].type, "lower");
  EXPECT_EQ(config.var_types[2].type, "???");
  EXPECT_EQ(config.var_types[2].parcount, 1);
}

TEST_F(ConfigurationFolder, TheInstructionTableIsReadLastThroughItsReader) {
  test::WriteText(dir_ / "Var.ini", "[00]\r\ntype=t\r\n");
  Configuration config;
  fs::path given;
  const Result result =
      LeeConfiguracion(dir_.path(), kProgramFolder, config, [&](const fs::path& path) {
        EXPECT_EQ(config.var_types[0].type, "t");  // already read
        given = path;
        return Result::IoError(Message().Text("cannot open"));
      });
  EXPECT_EQ(given, dir_ / "asm_inst.ini");
  EXPECT_EQ(result.outcome, Outcome::IoError);
}

TEST(Paths, TheInisFolderOverrides) {
  const char* saved = std::getenv("CORVANE_INIS");
  const std::string saved_value = saved ? saved : "";
  ::unsetenv("CORVANE_INIS");
  EXPECT_EQ(InisFolder(), ProgramFolder() / "INIs");
  ::setenv("CORVANE_INIS", "/from/env", 1);
  EXPECT_EQ(InisFolder(), fs::path("/from/env"));
  EXPECT_EQ(InisFolder("/from/cli"), fs::path("/from/cli"));
  ::setenv("CORVANE_INIS", "", 1);
  EXPECT_EQ(InisFolder(), ProgramFolder() / "INIs");
  if (saved) {
    ::setenv("CORVANE_INIS", saved_value.c_str(), 1);
  } else {
    ::unsetenv("CORVANE_INIS");
  }
}

TEST(Paths, TheProgramFolderHoldsTheRunningProgram) {
  EXPECT_TRUE(fs::exists(ProgramFolder() / "corvane_tests"));
  const std::string text = ProgramFolderText();
  EXPECT_EQ(text.back(), '/');
  EXPECT_EQ(fs::path(text.substr(0, text.size() - 1)), ProgramFolder());
}

}  // namespace
}  // namespace corvane
