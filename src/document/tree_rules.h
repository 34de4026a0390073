// The rules of the tree commands as plain functions: the section rule, the status-bar texts, which
// commands are enabled for a selection, and where a dragged node may be dropped.
//
// None of these change the tree; the document (document.h) applies them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/message_rows.h"
#include "base/result.h"
#include "firmware/tree.h"

namespace corvane {

class TFirmware;

// Message rows the tree commands use.
// Files that are never compressed on insertion into a patch nor decompressed on extraction.
bool IsRawFileName(std::string_view raw);  // CANAL_P.RCU, TCS, TPT, PATCH, EMM_MAIL (any case)

// ---- Section rule (patch models) -------------------------------------------------------------

// A file of `added` bytes may join the section of `node` (TamanoSeccion + added + 20 < 65536).
bool FileFitsSection(const TNodo& node, std::uint32_t added);
// A file of `old_size` bytes in the section of `node` may be replaced by one of `new_size` bytes.
bool ReplacementFitsSection(const TNodo& node, std::uint32_t old_size, std::uint32_t new_size);
// TamanoSeccion of the section that would hold `target_parent` after `moved` has been taken out
// of its place and put at `index` (counted after taking it out) among target_parent's children.
std::uint32_t SectionSizeAfterMove(const TNodo& moved, const TNodo& target_parent, std::size_t index);

// ---- Status-bar texts ------------------------------------------------------------------------

// Firmware models: message 30 + size (+ " -- " + message 272 + children for directories).
Message TextoEstadoNodo(const TNodo* selected);
// Patch models: message 30 + size + message 31 + free bytes of the section; empty for the root.
Message TextoEstadoSeccion(const TNodo* selected);
// The text for the model of `firmware` (empty when nothing is selected).
Message TextoEstado(const TFirmware& firmware, const TNodo* selected);

// ---- Command enabling ------------------------------------------------------------------------

// The enabled state of every main-window command.
struct CommandStates {
  bool open = true;
  bool save = false;  // toolbar button and "&Guardar como..."
  bool delete_node = false;
  bool new_directory = false;
  bool extract_decompress = false;
  bool extract_plain = false;
  bool insert_compress = false;
  bool insert_plain = false;
  bool font_editor = false;  // font editor button and menu item
  bool font_lists = false;   // the two font-list buttons
  bool hex_decompress = false;
  bool hex_plain = false;
  bool import_order = false;
  bool export_order = false;
  bool information = false;
  bool search = false;
  bool extract_code = false;
  bool compare = true;
  bool operator==(const CommandStates&) const = default;
};

// The state with no firmware open (also after a failed open).
CommandStates CommandsWithoutFirmware();
// The state right after a firmware of `model` has been opened (nothing selected yet).
CommandStates CommandsAfterOpen(int model);

// What the selection update needs to know besides the node.
struct SelectionContext {
  int model = 0;
  std::string_view root_name;             // TFirmware::RootName
  std::uint32_t directory_capacity = 0;   // TFirmware::DirectoryCapacity
  bool use_external_fonts = false;        // "Usar archivos externos"
  std::string_view section_word = {};     // message 32 (UTF-8); empty = built-in text
};

// The selection update (ActualizaBotones): the states after `selected` was selected, starting
// from `current`. Nothing selected leaves `current` as it is.
CommandStates ActualizaBotones(const CommandStates& current, const SelectionContext& context,
                               const TNodo* selected);

// The node is a patch section or carries the section word at its start.
bool IsSectionNode(const SelectionContext& context, const TNodo& node);

// ---- Renaming and moving ----------------------------------------------------------------------

// Whether an in-place edit may start on the node (not the root; for patch models not a section).
bool CanStartRename(const SelectionContext& context, const TNodo* node);

// Where a dropped node goes.
struct DropPlace {
  bool allowed = false;
  TNodo* parent = nullptr;  // the new parent (nullptr only when not allowed)
  std::size_t index = 0;    // position among the parent's children once the node was taken out
};

// The drop rules of both families for dragging `dragged` onto `target`.
DropPlace PlaceForDrop(const SelectionContext& context, const TNodo* dragged, const TNodo* target);

}  // namespace corvane
