#include "config/language.h"

#include "config/paths.h"

namespace corvane {

namespace {

// Runs of consecutive rows and the key of their first row.
struct RowRun {
  int first_row;
  int last_row;
  int first_key;
};

constexpr std::array<RowRun, 12> kRowRuns = {{
    {0, 49, 0},
    {50, 79, 95},
    {80, 205, 126},
    {206, 206, 125},
    {207, 238, 252},
    {239, 273, 285},
    {274, 274, 321},
    {275, 277, 323},
    {278, 278, 322},
    {279, 284, 328},
    {285, 334, 335},
    {335, 353, 389},
}};

using Item = MainWindowItem;
using Role = TextRole;

constexpr std::array<DirectTextEntry, kDirectTextCount> kDirectTexts = {{
    {50, Item::FileMenu, Role::Caption, "&Archivo"},
    {51, Item::Open, Role::Caption, "&Abrir..."},
    {52, Item::SaveAs, Role::Caption, "&Guardar como..."},
    {53, Item::Exit, Role::Caption, "&Salir"},
    {54, Item::Exit, Role::Hint, "Salir de Corvane"},
    {55, Item::EditMenu, Role::Caption, "&Edición"},
    {56, Item::DeleteNode, Role::Caption, "&Borrar nodo"},
    {57, Item::NewDirectory, Role::Caption, "&Nuevo directorio..."},
    {58, Item::ExtractDecompressed, Role::Caption, "&Extraer con descompresión"},
    {59, Item::InsertCompressed, Role::Caption, "&Insertar con compresión"},
    {60, Item::ExtractRaw, Role::Caption, "E&xtraer sin descompresión"},
    {61, Item::InsertRaw, Role::Caption, "In&sertar sin compresión"},
    {62, Item::FontEditor, Role::Caption, "Editor de &tipos de letra"},
    {63, Item::HexEditorDecompressed, Role::Caption, "Editor Hexadecimal con descompresión"},
    {64, Item::HexEditorRaw, Role::Caption, "Editor Hexadecimal sin descompresión"},
    {65, Item::ImportFileOrder, Role::Caption, "Importar orden de archivos"},
    {66, Item::ExportFileOrder, Role::Caption, "Exportar orden de archivos"},
    {67, Item::Information, Role::Caption, "Información"},
    {68, Item::ConfigurationMenu, Role::Caption, "&Configuración"},
    {69, Item::FontsMenu, Role::Caption, "&Tipos de letra"},
    {70, Item::OptionLengthTableFirst, Role::Caption, "T&abla de longitudes al principio"},
    {71, Item::OptionUseExternalFonts, Role::Caption, "&Usar archivos externos"},
    {72, Item::LanguageMenu, Role::Caption, "Idioma"},
    {73, Item::WindowMenu, Role::Caption, "&Ventana"},
    {74, Item::WindowCascade, Role::Caption, "Cascada"},
    {75, Item::WindowMinimizeAll, Role::Caption, "&Minimizar todas"},
    {76, Item::WindowRestoreAll, Role::Caption, "&Restaurar todas"},
    {77, Item::WindowCloseAll, Role::Caption, "&Cerrar todas"},
    {78, Item::HelpMenu, Role::Caption, "A&yuda"},
    {79, Item::About, Role::Caption, "&Acerca de..."},
    {80, Item::About, Role::Hint, "Acerca de Corvane"},
    {81, Item::Open, Role::Hint, "Abrir un archivo de firmware o un parche"},
    {82, Item::SaveAs, Role::Hint, "Guardar el firmware o parche"},
    {83, Item::DeleteNode, Role::Hint, "Borrar el nodo seleccionado"},
    {84, Item::NewDirectory, Role::Hint, "Crear un nuevo directorio"},
    {85, Item::ExtractDecompressed, Role::Hint, "Extraer el nodo seleccionado con descompresión"},
    {86, Item::InsertCompressed, Role::Hint, "Insertar un nodo con compresión"},
    {87, Item::ExtractRaw, Role::Hint, "Extraer el nodo seleccionado sin descompresión"},
    {88, Item::InsertRaw, Role::Hint, "Insertar un nodo sin compresión"},
    {89, Item::FontEditor, Role::Hint, "Editar los tipos de letra del firmware"},
    {90, Item::HexEditorDecompressed, Role::Hint, "Editar hexadecimalmente con descompresion"},
    {91, Item::HexEditorRaw, Role::Hint, "Editar hexadecimalmente sin descompresion"},
    {92, Item::ImportFileOrder, Role::Hint, "Importar orden de archivos"},
    {93, Item::ExportFileOrder, Role::Hint, "Exportar orden de archivos"},
    {94, Item::Information, Role::Hint, "Información"},
    {284, Item::ExtractAllCode, Role::CaptionAndHint, "Extraer todo el código..."},
    {320, Item::Search, Role::CaptionAndHint, "Buscar..."},
    {326, Item::InsertFontList, Role::Hint, "Inserta lista de tipos de letra..."},
    {327, Item::ExtractFontList, Role::Hint, "Extrae lista de tipos de letra..."},
    {334, Item::CompareFirmwares, Role::CaptionAndHint, "Comparar firmwares..."},
    {385, Item::OptionLimitPanels, Role::Caption, "No guardar paneles con mas de 183 elementos"},
    {386, Item::OptionLowercaseFiles, Role::Caption,
     "Cambiar a minusculas cuando se importan archivos"},
    {387, Item::OptionOpenSearchResults, Role::Caption,
     "Abrir resultados de busqueda automáticamente"},
    {388, Item::OptionCompressWhenInsert, Role::Caption,
     "Comprimir insertando archivos desde *.def o *.glu"},
}};

constexpr bool Sets(TextRole entry, TextRole wanted) {
  return entry == wanted || entry == TextRole::CaptionAndHint;
}

}  // namespace

std::string LanguageKeyName(int key) {
  return "Translation" + std::to_string(key);
}

int LanguageKeyForRow(int row) {
  if (row >= kOwnRowFirst && row < kTableRows) return row + kDirectTextCount;
  for (const RowRun& run : kRowRuns)
    if (row >= run.first_row && row <= run.last_row) return run.first_key + (row - run.first_row);
  return -1;
}

int RowForLanguageKey(int key) {
  if (key >= kLanguageKeys && key < kTableRows + kDirectTextCount) return key - kDirectTextCount;
  for (const RowRun& run : kRowRuns) {
    const int last_key = run.first_key + (run.last_row - run.first_row);
    if (key >= run.first_key && key <= last_key) return run.first_row + (key - run.first_key);
  }
  return -1;
}

bool IsDirectLanguageKey(int key) {
  return key >= 0 && key < kLanguageKeys && RowForLanguageKey(key) < 0;
}

const std::array<DirectTextEntry, kDirectTextCount>& DirectTextTable() {
  return kDirectTexts;
}

LanguageTexts LanguageTexts::Defaults() {
  LanguageTexts texts;
  for (const DirectTextEntry& entry : kDirectTexts) texts.direct[entry.key] = entry.spanish;
  return texts;
}

LanguageTexts LanguageTexts::FromFile(const IniFile& file, std::string_view section) {
  LanguageTexts texts;
  const auto& defaults = DefaultMessages();
  for (int row = 0; row < kMessageRows; ++row) {
    texts.messages.Set(row, file.ReadString(section, LanguageKeyName(LanguageKeyForRow(row)),
                                            defaults[static_cast<std::size_t>(row)]));
  }
  for (const OwnMessage& own : OwnMessages()) {
    texts.messages.Set(own.row, file.ReadString(section, LanguageKeyName(LanguageKeyForRow(own.row)),
                                                std::string(own.spanish)));
  }
  for (const DirectTextEntry& entry : kDirectTexts)
    texts.direct[entry.key] = file.ReadString(section, LanguageKeyName(entry.key), entry.spanish);
  return texts;
}

const std::string& LanguageTexts::ItemText(MainWindowItem item, TextRole role) const {
  static const std::string kNone;
  for (const DirectTextEntry& entry : kDirectTexts) {
    if (entry.item != item || !Sets(entry.role, role)) continue;
    const auto it = direct.find(entry.key);
    return it != direct.end() ? it->second : kNone;
  }
  return kNone;
}

InterfaceLanguage::InterfaceLanguage() : texts_(LanguageTexts::Defaults()) {
  for (int i = 0; i < kLanguageSlots; ++i)
    slots_[static_cast<std::size_t>(i)].caption = std::to_string(i + 1) + " -";
}

void InterfaceLanguage::Setup(const IniFile& main_ini, const std::filesystem::path& inis_folder) {
  inis_folder_ = inis_folder;
  for (int i = 0; i < kLanguageSlots; ++i) {
    const std::string digit = std::to_string(i + 1);
    LanguageSlot& slot = slots_[static_cast<std::size_t>(i)];
    slot = LanguageSlot{};
    slot.name = main_ini.ReadString(kMainSection, "Language" + digit, "");
    std::error_code ec;
    if (std::filesystem::is_regular_file(FindFileIgnoringCase(inis_folder_, slot.name + ".ini"),
                                         ec)) {
      slot.caption = "&" + digit + " - " + slot.name;
      slot.enabled = true;
    } else {
      slot.caption = digit + " -";
    }
  }
  const std::int32_t used = main_ini.ReadInteger(kMainSection, "LanguageUsed", 1);
  ticked_ = used >= 1 && used <= kLanguageSlots ? used : 0;
  Load(used >= 0 && used <= kLanguageSlots ? used : 0);
}

void InterfaceLanguage::Load(int slot) {
  if (slot < 0 || slot > kLanguageSlots) slot = 0;
  loaded_ = slot;
  // The name is the caption less its five-character prefix ("&1 - "); a disabled slot's caption
  // ("1 -") has none.
  std::string name;
  if (slot >= 1) {
    const std::string& caption = slots_[static_cast<std::size_t>(slot - 1)].caption;
    if (caption.size() > 5) name = caption.substr(5);
  }
  if (inis_folder_.empty()) {  // no INIs folder set up yet
    texts_ = LanguageTexts::Defaults();
    return;
  }
  const IniFile file = IniFile::LoadOrEmpty(FindFileIgnoringCase(inis_folder_, name + ".ini"));
  texts_ = LanguageTexts::FromFile(file, name);
}

void InterfaceLanguage::Choose(int slot) {
  if (slot >= 1 && slot <= kLanguageSlots) ticked_ = slot;
  Load(SlotToSave());
}

const LanguageSlot& InterfaceLanguage::Slot(int slot) const {
  static const LanguageSlot kNoSlot;
  if (slot < 1 || slot > kLanguageSlots) return kNoSlot;
  return slots_[static_cast<std::size_t>(slot - 1)];
}

}  // namespace corvane
