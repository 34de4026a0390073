#include "config/configuration.h"

#include <cstdio>
#include <system_error>

#include "base/message_rows.h"
#include "config/paths.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

// A number kept in one byte: its low byte.
std::uint8_t LowByte(std::int32_t value) {
  return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFF);
}

}  // namespace

Settings Settings::Defaults(std::string_view program_folder) {
  Settings s;
  s.last_opened_directory = s.last_saved_directory = s.last_insert_directory =
      s.last_export_directory = std::string(program_folder);
  return s;
}

std::string VarTypeSection(int index) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(index) & 0xFFu);
  return text;
}

VarTypeTable ReadVarTypes(const IniFile& var_ini) {
  VarTypeTable table;
  for (int i = 0; i < kVarTypeCount; ++i) {
    const std::string section = VarTypeSection(i);
    VarType& entry = table[static_cast<std::size_t>(i)];
    entry.type = var_ini.ReadString(section, "type", "???");
    entry.parcount = LowByte(var_ini.ReadInteger(section, "parcount", 1));
    entry.parlen = LowByte(var_ini.ReadInteger(section, "parlen", 1));
  }
  return table;
}

Result CheckInisFolder(const fs::path& inis_folder) {
  std::error_code ec;
  if (fs::is_directory(inis_folder, ec)) return Result::Ok();
  return Result::IoError(Message().Text(kInisFolderMissing));
}

Result LeeConfiguracion(const fs::path& inis_folder, std::string_view program_folder,
                        Configuration& config, const InstructionTableReader& read_instructions) {
  const IniFile main = IniFile::LoadOrEmpty(FindFileIgnoringCase(inis_folder, kMainIniName));
  config.language.Setup(main, inis_folder);

  Settings& s = config.settings;
  s = Settings::Defaults(program_folder);
  const std::string folder(program_folder);
  s.last_firmware_type_opened =
      LowByte(main.ReadInteger(kMainSection, "LastFirmwareTypeOpened", 1));
  s.last_opened_directory = main.ReadString(kMainSection, "LastOpenedDirectory", folder);
  s.last_saved_directory = main.ReadString(kMainSection, "LastSavedDirectory", folder);
  s.last_insert_directory = main.ReadString(kMainSection, "LastInsertDirectory", folder);
  s.last_export_directory = main.ReadString(kMainSection, "LastExportDirectory", folder);
  s.bytes_per_line = LowByte(main.ReadInteger(kMainSection, "BytesPerLine", 16));
  s.column_width = LowByte(main.ReadInteger(kMainSection, "ColumnWidth", 4));
  s.hex_editor_width = main.ReadInteger(kMainSection, "HexEditorWidth", 600);
  s.limit_panels_with_183_widgets = main.ReadBool(kMainSection, "LimitPanelsWith183Widgets", false);
  s.lowercase_files = main.ReadBool(kMainSection, "LowercaseFiles", false);
  s.open_search_results = main.ReadBool(kMainSection, "OpenSearchResults", false);
  s.compress_when_insert = main.ReadBool(kMainSection, "CompressWhenInsert", false);

  config.var_types =
      ReadVarTypes(IniFile::LoadOrEmpty(FindFileIgnoringCase(inis_folder, kVarIniName)));

  if (read_instructions)
    return read_instructions(FindFileIgnoringCase(inis_folder, kInstructionIniName));
  return Result::Ok();
}

Result GuardaConfiguracion(const fs::path& inis_folder, const Configuration& config) {
  const fs::path path = FindFileIgnoringCase(inis_folder, kMainIniName);
  std::error_code ec;
  if (!fs::exists(path, ec)) return Result::Ok();
  std::optional<IniFile> ini = IniFile::Load(path);
  if (!ini) return Result::IoError(Message().Row(rows::kCannotRead).Text(path.string()));

  const Settings& s = config.settings;
  const char* section = kMainSection;
  ini->WriteInteger(section, "LanguageUsed", config.language.SlotToSave());
  ini->WriteInteger(section, "LastFirmwareTypeOpened", s.last_firmware_type_opened);
  ini->WriteString(section, "LastOpenedDirectory", s.last_opened_directory);
  ini->WriteString(section, "LastSavedDirectory", s.last_saved_directory);
  ini->WriteString(section, "LastInsertDirectory", s.last_insert_directory);
  ini->WriteString(section, "LastExportDirectory", s.last_export_directory);
  ini->WriteInteger(section, "BytesPerLine", s.bytes_per_line);
  ini->WriteInteger(section, "ColumnWidth", s.column_width);
  ini->WriteInteger(section, "HexEditorWidth", s.hex_editor_width);
  ini->WriteBool(section, "LimitPanelsWith183Widgets", s.limit_panels_with_183_widgets);
  ini->WriteBool(section, "LowercaseFiles", s.lowercase_files);
  ini->WriteBool(section, "OpenSearchResults", s.open_search_results);
  ini->WriteBool(section, "CompressWhenInsert", s.compress_when_insert);

  if (!ini->Encodable())
    return Result::Refused(Message().Row(rows::kIniNotWindows1252).Text(path.string()));
  const std::string error = ini->Save(path);
  if (!error.empty())
    return Result::IoError(Message().Row(rows::kCannotWrite).Text(path.string() + ": " + error));
  return Result::Ok();
}

}  // namespace corvane
