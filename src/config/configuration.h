// The program's configuration: the main settings file Corvane.ini and the variable-type table
// Var.ini in the INIs folder, read once at start-up and (the main settings) written back at exit.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "config/ini.h"
#include "config/language.h"
#include "base/result.h"

namespace corvane {

inline constexpr const char* kApplicationTitle = "Corvane v" CORVANE_VERSION;  // "Corvane v2.62"

// Settings of section "Corvane" of Corvane.ini (other than the language slots, which the
// InterfaceLanguage keeps). Values stored in one byte keep the low byte of the number read, so
// that the files shared with other tools read alike: 263 reads as 7, -1 as 255.
struct Settings {
  std::uint8_t last_firmware_type_opened = 1;  // LastFirmwareTypeOpened: the open dialog's model
  std::string last_opened_directory;           // LastOpenedDirectory
  std::string last_saved_directory;            // LastSavedDirectory
  std::string last_insert_directory;           // LastInsertDirectory
  std::string last_export_directory;           // LastExportDirectory
  std::uint8_t bytes_per_line = 16;            // BytesPerLine (hex editor)
  std::uint8_t column_width = 4;               // ColumnWidth (hex editor)
  std::int32_t hex_editor_width = 600;         // HexEditorWidth
  bool limit_panels_with_183_widgets = false;  // LimitPanelsWith183Widgets
  bool lowercase_files = false;                // LowercaseFiles
  bool open_search_results = false;            // OpenSearchResults
  bool compress_when_insert = false;           // CompressWhenInsert

  // The defaults, with the four folders at `program_folder` (which ends with a separator).
  static Settings Defaults(std::string_view program_folder);
};

// One entry of Var.ini: section "00".."20" (the entry number in two upper-case hex digits).
inline constexpr int kVarTypeCount = 33;
struct VarType {
  std::string type = "???";
  std::uint8_t parcount = 1;  // read and kept, used nowhere else
  std::uint8_t parlen = 1;    // read and kept, used nowhere else
};
using VarTypeTable = std::array<VarType, kVarTypeCount>;

// "00" .. "20".
std::string VarTypeSection(int index);
VarTypeTable ReadVarTypes(const IniFile& var_ini);

struct Configuration {
  Settings settings;
  VarTypeTable var_types;
  InterfaceLanguage language;
};

// Reads the instruction table of the script source lister from asm_inst.ini (given its path) and
// reports a failure to show (the file cannot be opened, a value is not a number). The lister's
// table and its reader live with the lister; LeeConfiguracion only calls it at its place in the
// start-up order.
using InstructionTableReader = std::function<Result(const std::filesystem::path& asm_inst_ini)>;

// The check made at start-up before reading: the INIs folder exists, else the fixed English text
// kInisFolderMissing (the configuration is read in any case, every value then at its default).
Result CheckInisFolder(const std::filesystem::path& inis_folder);

// Reads everything at start-up, in this order: Corvane.ini (language slots and the language in
// use, then the settings), Var.ini, then asm_inst.ini through `read_instructions` when one is
// given. Missing files, sections and keys give the defaults and report nothing; the result is the
// instruction reader's.
Result LeeConfiguracion(const std::filesystem::path& inis_folder, std::string_view program_folder,
                        Configuration& config,
                        const InstructionTableReader& read_instructions = {});

// Writes the settings back into Corvane.ini, section "Corvane", key by key in this order:
// LanguageUsed, LastFirmwareTypeOpened, LastOpenedDirectory, LastSavedDirectory,
// LastInsertDirectory, LastExportDirectory, BytesPerLine, ColumnWidth, HexEditorWidth,
// LimitPanelsWith183Widgets, LowercaseFiles, OpenSearchResults, CompressWhenInsert. Every other
// line of the file stays as it was. Only when Corvane.ini exists: otherwise nothing is written
// (and the result is Ok). A Corvane.ini that exists but cannot be read is left alone and
// reported, so its language names are never lost. A folder whose name holds a line break cannot
// be stored in the file: its key keeps its old value.
Result GuardaConfiguracion(const std::filesystem::path& inis_folder, const Configuration& config);

}  // namespace corvane
