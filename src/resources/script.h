// Script resources (.cpi, compressed .cpz): one compiled script: its name, the classes whose
// variables and methods it uses, and its bytecode. The object finds the classes the header names
// and the panel that shares the script's name, and lists the bytecode as readable source.
//
// Plain layout (big-endian): 2 bytes, the script name (16 bytes, NUL-padded), N (1 byte), N
// class entries of 18 bytes (a 16-byte name and 2 bytes), then the bytecode.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "base/messages.h"
#include "firmware/tree.h"
#include "resources/class.h"
#include "resources/instruction_table.h"
#include "resources/panel_methods.h"

namespace corvane {

// What a listing run needs besides the script.
struct ListingContext {
  const InstructionTable& instructions;
  const MessageTable& messages;
  // True when a window shows the result (the script editor): failures become `shown` messages
  // (error boxes); false for batch use (the code export), where a missing class becomes a line
  // of the listing and unknown opcodes are silent.
  bool interactive = false;
};

class TMHWScript {
 public:
  // Decompresses the node's bytes, finds the script's panel among its siblings and lists it.
  static TMHWScript Create(const TNodo& node, const ListingContext& context);
  // The same from plain bytes; `node` (optional) gives the siblings and the tree to search.
  static TMHWScript FromPlain(Bytes plain, const TNodo* node, const ListingContext& context);

  // Writes the plain bytes back into `node`, compressed. False when nothing could be written.
  bool Guarda(TNodo& node) const;

  Bytes plain;
  std::vector<std::string> class_names;           // raw 8-bit, from the header
  std::vector<std::optional<TMHWClass>> classes;  // found classes (nullopt: not searched/missing)
  std::uint16_t previous_opcode = 0;              // the two most recent opcodes, newest first
  std::uint16_t previous_previous_opcode = 0;
  std::optional<PanelMethods> panel;     // the panel sharing the base name
  std::string base_name;                 // node text up to its first "."
  std::string script_name;               // from offset 2 (raw 8-bit)
  bool listed = false;                   // the listing flag
  std::vector<std::string> listing;      // lines (UTF-8)
  std::vector<Message> shown;            // interactive messages, in order
  std::string missing_class;             // the first class not found (raw 8-bit)
  std::size_t instructions_decoded = 0;  // instructions the lister went through
};

// The offset of the bytecode: 19 + 18 x N.
std::size_t ScriptCodeStart(ByteView plain);

// The node of the class named `class_name` for a script in `script` (searched among its siblings,
// then in the top-level directories "basic" and "commun", then everywhere two levels deep), or
// nullptr.
const TNodo* FindClassNode(const TNodo& script, std::string_view class_name);
// The class name stored in a class file's plain bytes (found through the header sizes).
std::string StoredClassName(ByteView plain);

// The header entry (0 .. N-1) whose class a listing line names at `column` (a byte index into
// the UTF-8 line), or -1. The word under the column runs over letters, digits, "_", "+" and
// "."; its part before the first "." is compared with the class names, ignoring case.
int ClassEntryAt(std::string_view line, std::size_t column,
                 const std::vector<std::string>& class_names);

// Lists the script's bytecode into script.listing (the header lines first) and returns the
// listing flag: false when a class is missing. `find_class` gives the class of a header entry.
bool ListaFuente(TMHWScript& script, const ListingContext& context,
                 const std::function<std::optional<TMHWClass>(std::string_view)>& find_class);

}  // namespace corvane
