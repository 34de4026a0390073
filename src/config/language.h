// Interface languages: the language files, the nine language slots of the "Idioma" menu and the
// texts of the language in use.
//
// A language file is an INI file "<name>.ini" in the INIs folder whose section is the language
// name and whose keys are Translation0..Translation407. 354 of the keys fill the rows of the
// message table; the other 54 ("direct" keys) label the main window's menus, menu items and
// toolbar hints. Every key missing from the file (or a missing file or section) keeps its
// built-in Spanish text.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "config/ini.h"
#include "base/messages.h"

namespace corvane {

inline constexpr int kLanguageKeys = 408;  // Translation0..Translation407 of the original table
inline constexpr int kDirectTextCount = kLanguageKeys - kMessageRows;
inline constexpr int kLanguageSlots = 9;  // slots 1..9; slot 0 means no language file

// "Translation" + key.
std::string LanguageKeyName(int key);
// The key that fills a message-table row (a row of our own r: Translation(r + 54)), or -1 for a
// row outside the table.
int LanguageKeyForRow(int row);
// The row a key fills, or -1 for a direct key or a key that fills no row.
int RowForLanguageKey(int key);
bool IsDirectLanguageKey(int key);

// What a direct key labels: a menu or command of the main window.
enum class MainWindowItem {
  // Menus.
  FileMenu,
  EditMenu,
  ConfigurationMenu,
  FontsMenu,  // "&Tipos de letra", under "&Configuración"
  LanguageMenu,
  WindowMenu,
  HelpMenu,
  // Commands (menu item and toolbar button, or one of the two).
  Open,
  SaveAs,
  Exit,
  DeleteNode,
  NewDirectory,
  ExtractDecompressed,
  InsertCompressed,
  ExtractRaw,
  InsertRaw,
  FontEditor,
  InsertFontList,   // toolbar only
  ExtractFontList,  // toolbar only
  HexEditorDecompressed,
  HexEditorRaw,
  ImportFileOrder,
  ExportFileOrder,
  Information,
  Search,
  ExtractAllCode,
  CompareFirmwares,
  About,
  WindowCascade,
  WindowMinimizeAll,
  WindowRestoreAll,
  WindowCloseAll,
  // Option items (check items).
  OptionLengthTableFirst,    // under "&Tipos de letra"
  OptionUseExternalFonts,    // under "&Tipos de letra"
  OptionLimitPanels,         // LimitPanelsWith183Widgets
  OptionLowercaseFiles,      // LowercaseFiles
  OptionOpenSearchResults,   // OpenSearchResults
  OptionCompressWhenInsert,  // CompressWhenInsert
};

// Which text of the item a key sets: the menu caption, the hint (toolbar tooltip and the menu
// item's hint), or both when they are the same text.
enum class TextRole { Caption, Hint, CaptionAndHint };

struct DirectTextEntry {
  int key;
  MainWindowItem item;
  TextRole role;
  std::string_view spanish;  // the built-in text
};

// The 54 direct keys in key order.
const std::array<DirectTextEntry, kDirectTextCount>& DirectTextTable();

// The texts of one language: the message table and the direct texts.
struct LanguageTexts {
  MessageTable messages;
  std::map<int, std::string> direct;  // direct key -> text

  // The built-in Spanish texts.
  static LanguageTexts Defaults();
  // The texts of `section` of a language file, each missing key keeping its built-in text.
  static LanguageTexts FromFile(const IniFile& file, std::string_view section);

  // The text that sets the item's caption (role Caption) or hint (role Hint); empty when no
  // direct key sets it.
  const std::string& ItemText(MainWindowItem item, TextRole role) const;
};

struct LanguageSlot {
  std::string name;     // Language1..Language9 of the main settings file
  std::string caption;  // "&1 - " + name when the file exists, else "1 -"
  bool enabled = false;
};

class InterfaceLanguage {
 public:
  // Every slot disabled ("1 -" .. "9 -"), none ticked, the built-in texts loaded.
  InterfaceLanguage();

  // Start-up: builds the slots from Language1..Language9 of the main settings file (section
  // "Corvane") and the language files present in `inis_folder`, ticks slot LanguageUsed (default
  // 1) when it is 1..9 and loads it. A value outside 0..9 loads the built-in texts.
  void Setup(const IniFile& main_ini, const std::filesystem::path& inis_folder);

  // Loads slot 0..9: the language named by the slot's caption (none for slot 0 or a disabled
  // slot, whose caption carries no name). A file that went missing after start-up, a missing
  // section or key: the built-in texts, silently. A slot outside 0..9 loads the built-in texts.
  void Load(int slot);

  // A pick in the "Idioma" menu: the slots are radio items, so the picked one (1..9) becomes the
  // ticked one; then the first ticked slot (1 when none) is loaded.
  void Choose(int slot);

  // Slot 1..9 (another number gives an empty, disabled slot).
  const LanguageSlot& Slot(int slot) const;
  // The ticked slot 1..9, or 0 when none is ticked.
  int TickedSlot() const { return ticked_; }
  // The value written back to LanguageUsed: the ticked slot, or 1 when none is.
  int SlotToSave() const { return ticked_ >= 1 ? ticked_ : 1; }
  int LoadedSlot() const { return loaded_; }

  const LanguageTexts& Texts() const { return texts_; }
  const MessageTable& Messages() const { return texts_.messages; }
  const std::string& Text(int row) const { return texts_.messages.Text(row); }
  // Direct key -> text of the language in use.
  const std::map<int, std::string>& DirectTexts() const { return texts_.direct; }

 private:
  std::filesystem::path inis_folder_;
  std::array<LanguageSlot, kLanguageSlots> slots_;
  int ticked_ = 0;
  int loaded_ = 0;
  LanguageTexts texts_;
};

}  // namespace corvane
