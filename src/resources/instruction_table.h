// The instruction table of the script source lister: one entry per opcode 0..832, filled at
// start-up from asm_inst.ini in the INIs folder. Every opcode's length, operand kind, stack effect,
// indentation and text template come from it; opcodes without a section keep the defaults (a
// 2-byte call printed as funcXXXX(...)).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

inline constexpr int kInstructionCount = 833;  // opcodes 0x0000..0x0340

// Own message rows of the instruction table.
inline constexpr int kMsgInstructionNotNumber = 570;  // a value of an integer key is not a number

struct InstructionEntry {
  std::string name;               // "func" + 4 upper-case hex digits by default
  std::int32_t oplen = 2;         // bytes from the instruction's start to its operand
  std::string type = "function";  // primary, secondary, jump, loop, function
  std::string par;                // char, int, var
  std::int32_t parlen = 0;        // operand length in bytes
  std::int32_t pop = 0;
  std::int32_t push = 0;
  std::int32_t peek = 0;
  std::int32_t modpop = 0;       // read, not used by the lister
  std::int32_t modpush = 0;      // popped items also saved for loop headers
  std::string comment = "????";  // read, not used by the lister
  std::string mnem;              // template: "#" popped expressions, "$" the last variable
  std::int32_t shift = 0;        // indentation: <0 out before the line, >0 in after it
  bool undefined = true;         // no section in the file
  std::string declaration;       // read, not used by the lister
};

// The name an opcode gets without a table entry: "func" + 4 upper-case hexadecimal digits.
std::string DefaultInstructionName(std::uint32_t opcode);

class InstructionTable {
 public:
  InstructionTable() { Reset(); }

  // Every entry back to its defaults.
  void Reset();
  // The entry of `opcode`; opcodes above 832 share one undefined default entry (ask Name() for
  // their name).
  const InstructionEntry& Entry(std::uint32_t opcode) const;
  // The entry's name; "func" + the opcode's 4 hex digits above 832.
  std::string Name(std::uint32_t opcode) const;
  InstructionEntry& At(int opcode) { return entries_[static_cast<std::size_t>(opcode)]; }

  // Reads asm_inst.ini text line by line into the table (which keeps what it held: call Reset()
  // first for a fresh table). Lines end with CR LF, LF or CR. A non-numeric integer value stops
  // the reading there, keeping the entries read so far, and is reported with its line number.
  Result Read(ByteView text);
  // Reset, then read the file; a file that cannot be opened is reported (every entry then keeps
  // its default).
  Result ReadFile(const std::filesystem::path& asm_inst_ini);

 private:
  std::array<InstructionEntry, kInstructionCount> entries_;
  InstructionEntry beyond_;  // the entry handed out for opcodes above 832
};

// The program-wide table (filled at start-up by the main window and the command-line tool).
InstructionTable& Instructions();

}  // namespace corvane
