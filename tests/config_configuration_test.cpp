#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
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

// The settings on one line, in the order of their keys.
std::string Describe(const Settings& s) {
  std::ostringstream out;
  out << int{s.last_firmware_type_opened} << '|' << s.last_opened_directory << '|'
      << s.last_saved_directory << '|' << s.last_insert_directory << '|' << s.last_export_directory
      << '|' << int{s.bytes_per_line} << '|' << int{s.column_width} << '|' << s.hex_editor_width
      << '|' << s.limit_panels_with_183_widgets << s.lowercase_files << s.open_search_results
      << s.compress_when_insert;
  return out.str();
}

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

// An empty folder reads as the defaults and nothing is written there; a missing one is reported.
TEST_F(ConfigurationFolder, AnEmptyOrMissingFolderGivesTheDefaults) {
  Configuration config = Read();
  EXPECT_EQ(Describe(config.settings), "1|/opt/corvane/|/opt/corvane/|/opt/corvane/|/opt/corvane/|16|4|600|0000");
  EXPECT_EQ(config.var_types[5].type, "???");
  EXPECT_EQ(config.language.Text(226), "¿ Guardar los cambios ?");
  EXPECT_FALSE(config.language.Slot(1).enabled);
  config.settings.last_firmware_type_opened = 7;
  EXPECT_TRUE(GuardaConfiguracion(dir_.path(), config).ok());
  EXPECT_TRUE(fs::is_empty(dir_.path()));

  EXPECT_TRUE(CheckInisFolder(dir_.path()).ok());
  const Result check = CheckInisFolder(dir_ / "INIs");
  EXPECT_EQ(check.outcome, Outcome::IoError);
  EXPECT_EQ(RenderMessage(check.message),
            "INIs directory not found!\r\nCreate a directory called INIs and move all the ini "
            "files to that directory.");
  EXPECT_TRUE(LeeConfiguracion(dir_ / "INIs", kProgramFolder, config).ok());
}

TEST_F(ConfigurationFolder, EveryKeyIsRead) {
  test::WriteText(dir_ / "Corvane.ini",
                  "[corvane]\r\n"
                  "LastFirmwareTypeOpened=263\r\n"
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
  // ColumnWidth and LastFirmwareTypeOpened keep one byte.
  EXPECT_EQ(Describe(Read().settings), "7|C:\\Firmwares\\|/home/u/out |/in/|/ex/|32|255|1024|1100");
}

TEST_F(ConfigurationFolder, WritingKeepsTheRestOfTheFileAndAddsKeysInOrder) {
  test::WriteText(dir_ / "Corvane.ini",
                  "; my languages\n"
                  "[Corvane]\n"
                  "Language1=Lang\n"
                  "Language2=Other\n"
                  "HexEditorWidth=700\n"
                  "\n"
                  "[Mine]\n"
                  "keep=this\n");
  test::WriteText(dir_ / "Lang.ini", "[Lang]\n");
  test::WriteText(dir_ / "Other.ini", "[Other]\n");
  Configuration config = Read();
  config.language.Choose(2);
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
            "Language2=Other\n"
            "HexEditorWidth=640\n"
            "LanguageUsed=2\n"
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
  // What was written reads back; the folder that could not be stored is the default.
  const Configuration again = Read();
  EXPECT_EQ(Describe(again.settings), "7|/a/| b |/c/|/opt/corvane/|8|2|640|0100");
  EXPECT_EQ(again.language.TickedSlot(), 2);
}

TEST_F(ConfigurationFolder, AnUnreadableMainFileIsNotOverwritten) {
  fs::create_directory(dir_ / "Corvane.ini");  // exists, but cannot be read as a file
  const Configuration config = Read();
  EXPECT_EQ(GuardaConfiguracion(dir_.path(), config).outcome, Outcome::IoError);
  EXPECT_TRUE(fs::is_directory(dir_ / "Corvane.ini"));
}

// The INI file keeps its encoding when written (checked there); here a text the Windows-1252 file
// cannot hold reaches the caller as a refusal and the file stays as it was.
TEST_F(ConfigurationFolder, AWindows1252FileIsNotWrittenWithATextItCannotHold) {
  const std::string before = "[Corvane]\r\nLanguage1=Espa\xF1ol\r\nLastSavedDirectory=/\r\n";
  test::WriteText(dir_ / "Corvane.ini", before);
  Configuration config = Read();
  config.settings.last_saved_directory = "/\xE2\x98\x83/";  // a snowman
  const Result refused = GuardaConfiguracion(dir_.path(), config);
  EXPECT_EQ(refused.outcome, Outcome::Refused);
  EXPECT_EQ(refused.message.Rows(), std::vector<int>{rows::kIniNotWindows1252});
  EXPECT_EQ(MainText(), before);
}

// File names from Windows may differ in case. Var.ini sections are two hexadecimal digits, 00 to
// 20, in either letter case; the rest keep "???".
TEST_F(ConfigurationFolder, FileNamesInAnyCaseAndVarIniSections) {
  test::WriteText(dir_ / "CORVANE.INI", "[CORVANE]\r\nHexEditorWidth=800\r\n");
  test::WriteText(dir_ / "var.ini",
                  "[03]\r\ntype=string\r\nparcount=2\r\nparlen=300\r\n"
                  "[20]\r\ntype=last\r\n[1f]\r\ntype=lower\r\n[21]\r\ntype=no\r\n");
  Configuration config = Read();
  EXPECT_EQ(config.settings.hex_editor_width, 800);
  const VarType& v = config.var_types[3];
  EXPECT_EQ(std::tuple(v.type, v.parcount, v.parlen), std::tuple(std::string("string"), 2, 300 & 0xFF));
  EXPECT_EQ(config.var_types[32].type, "last");
  EXPECT_EQ(config.var_types[31].type, "lower");
  EXPECT_EQ(std::tuple(config.var_types[2].type, config.var_types[2].parcount), std::tuple(std::string("???"), 1));
  config.settings.hex_editor_width = 900;
  ASSERT_TRUE(GuardaConfiguracion(dir_.path(), config).ok());
  EXPECT_FALSE(fs::exists(dir_ / "Corvane.ini"));
  EXPECT_EQ(IniFile::LoadOrEmpty(dir_ / "CORVANE.INI").ReadInteger("corvane", "HexEditorWidth", 0), 900);
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

// The INIs folder: the command line's, else the environment's (when not empty), else beside the
// program.
TEST(Paths, TheInisFolderAndTheProgramFolder) {
  const char* saved = std::getenv("CORVANE_INIS");
  const std::string saved_value = saved ? saved : "";
  for (const char* env : {"", "/from/env"}) {
    ::setenv("CORVANE_INIS", env, 1);
    EXPECT_EQ(InisFolder(), *env ? fs::path(env) : ProgramFolder() / "INIs");
    EXPECT_EQ(InisFolder("/from/cli"), fs::path("/from/cli"));
  }
  ::unsetenv("CORVANE_INIS");
  EXPECT_EQ(InisFolder(), ProgramFolder() / "INIs");
  if (saved) ::setenv("CORVANE_INIS", saved_value.c_str(), 1);
  EXPECT_TRUE(fs::exists(ProgramFolder() / "corvane_tests"));
  EXPECT_EQ(ProgramFolderText(), ProgramFolder().string() + "/");
}

}  // namespace
}  // namespace corvane
