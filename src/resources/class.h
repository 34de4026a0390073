// Class resources (.cla, compressed .clz): a class name and its variables, each with a type from
// the variable-type table (Var.ini), array dimensions and type-specific sizes. Scripts name the
// classes they use and address the variables by index.
//
// Plain layout (big-endian): V variables (2), 6 bytes kept as read, size of the descriptors (2),
// class-name length + 1 (2), size of the names block (2), V descriptors from offset 14, the class
// name and the V variable names (each NUL-terminated), two zero bytes.
//
// Types 11 and above (the table names 33 types, the type byte holds 4 bits): the type byte keeps
// the low 4 bits and the descriptor has one payload byte of 0, so that every descriptor is at
// least the two bytes the reader takes and a written class reads back as written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "base/messages.h"
#include "config/configuration.h"
#include "firmware/tree.h"

namespace corvane {

inline constexpr std::size_t kClassNameLimit = 13;  // characters kept of each name on reading

struct ClassVariable {
  std::string name;
  std::uint8_t type = 2;
  int dimension_kind = 0;  // 0 none, 1 one dimension, 2 two (as read); writing adds 1 for types
                           // other than 2 and 3
  int dimension1 = 1;
  int dimension2 = 1;
  int length = 10;
  int option = 0;  // lower-case flag (types 0, 1, 6, 8), precision (type 3)

  bool operator==(const ClassVariable&) const = default;
};

class TMHWClass {
 public:
  TMHWClass() = default;
  // Reads the node's bytes (decompressed).
  static TMHWClass Create(const TNodo& node);
  // Reads plain bytes; bytes missing at the end read as zero.
  static TMHWClass FromPlain(ByteView plain);

  // The plain bytes as Guarda writes them.
  Bytes Plain() const;
  // Writes the class back into `node` (compressed); each variable's dimension kind becomes the
  // kind written. False when nothing could be written.
  bool Guarda(TNodo& node);

  // A variable with the defaults (name message 240) inserted at i + 1.
  void NuevaVariable(int i, const MessageTable& messages);
  // Removes variable i (refused when it is the last one).
  bool BorraVariable(int i);
  // Moves variable `from` to index `to`.
  bool MueveVariable(int from, int to);
  // Appends the description lines (UTF-8). `node` gives the directory and file names.
  void Describe(const TNodo& node, const VarTypeTable& types, const MessageTable& messages,
                std::vector<std::string>& lines) const;

  std::string name;  // the class name (raw 8-bit)
  std::vector<ClassVariable> variables;
  Bytes plain;  // the plain bytes as read (the 6 bytes at offset 2 come from here)
};

// The dimension kind written for a variable.
int WrittenDimensionKind(const ClassVariable& v);

// ---- Editing rules of the class editor ----

inline constexpr int kClassFieldDigits = 5;    // characters of a number field
inline constexpr int kClassNameFieldChars = 16;  // characters of the name fields

// A variable name is kept when it is not empty and made of A-Z, a-z, 0-9, ".", "+", "_".
bool IsValidVariableName(std::string_view name);
// The text with every character but the digits removed.
std::string DigitsOnly(std::string_view text);

// The number fields of a variable.
enum class VariableField { Dimension1, Dimension2, Length, Option };
// The largest value the file holds in a field of a variable of `type`: dimensions and the
// lengths of most types take 2 bytes, types 2 and 5 a 1-byte length, types 3 and 10 pack the
// option and the length into 4 bits each.
int VariableFieldLimit(int type, VariableField field);
// The value a number field's text stores: nullopt (the stored value stays) when the text is
// empty, not all digits, or beyond what the field holds.
std::optional<int> VariableFieldValue(std::string_view text, int type, VariableField field);

// Which option a type has: a precision (type 3), a lower-case flag (types 0, 1, 6, 8) or none.
enum class VariableOption { None, Precision, LowerCase };
VariableOption OptionOf(int type);
// Changes a variable's type: types 2 and 3 lose their dimension kind, and the length and the
// option are brought within what the new type holds.
void SetVariableType(ClassVariable& v, int type);

}  // namespace corvane
