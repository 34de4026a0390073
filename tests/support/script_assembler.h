// A small assembler for script files: header, class entries and instructions laid out as the
// source lister reads them (4-byte operands on a 4-byte boundary of the code, texts padded to an
// even length). Used by the tests and the bundled demo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace corvane::test {

// The opcodes of the shipped instruction table (data/INIs/asm_inst.ini).
namespace op {
inline constexpr std::uint16_t kEnd = 0, kPushInt = 1, kMethod = 3, kPushVar = 4, kPushStr = 5,
                               kAssign = 7, kPrint = 8, kWait = 9, kOpen = 10, kSetText = 11,
                               kInc = 12, kStore = 13, kNext = 15, kCall = 16, kExit = 17,
                               kGoto = 18, kIfNot = 19, kTestNegative = 22, kFor = 29, kLoop = 31,
                               kUntil = 33, kWhile = 34, kAdd = 39, kMul = 41, kEq = 44,
                               kLess = 46, kGreater = 47, kDec = 54, kDup = 56, kNegateIf = 108,
                               kShow = 157, kHide = 158, kRedraw = 159, kFocus = 160, kBeep = 161;
}  // namespace op

class ScriptAssembler {
 public:
  ScriptAssembler(std::string name, std::vector<std::string> classes)
      : name_(std::move(name)), classes_(std::move(classes)) {}

  // One instruction each; they return the assembler for chaining.
  ScriptAssembler& Op(std::uint16_t opcode);                         // 2 bytes
  ScriptAssembler& Word(std::uint16_t opcode, std::uint16_t value);  // 2-byte operand
  ScriptAssembler& Int(std::uint16_t opcode, std::int32_t value);    // aligned 4-byte operand
  ScriptAssembler& Var(std::uint16_t opcode, std::uint16_t class_index, std::uint16_t variable);
  ScriptAssembler& Str(std::uint16_t opcode, const std::string& text);  // counted, NUL, even
  // A jump (2-byte operand) to `label`, bound later with Bind. The lister closes a block at its
  // jump's target: an if block with an else part ends at the jump over the else part.
  ScriptAssembler& Jump(std::uint16_t opcode, int label);
  int NewLabel();
  // The label points at the next instruction.
  ScriptAssembler& Bind(int label);

  // The plain script file (labels resolved).
  Bytes Plain() const;

 private:
  std::string name_;
  std::vector<std::string> classes_;
  Bytes code_;
  int count_ = 0;                                                    // instructions so far
  std::vector<int> labels_;                                          // label -> instruction index
  std::vector<std::pair<std::size_t, std::pair<int, int>>> fixups_;  // offset -> (label, index)
};

// Independent encoders of the other files scripts use, for the tests and the demo.
struct ClassVarSpec {
  std::string name;
  std::uint8_t type;  // 0..15
  std::uint16_t length = 0;
  std::uint8_t option = 0;
  std::uint16_t dim1 = 0;  // 0: no dimensions
  std::uint16_t dim2 = 1;
};
// A class file (plain): header, descriptors, names, two zero bytes.
Bytes ClassFile(const std::string& name, const std::vector<ClassVarSpec>& variables);

// An application file (plain).
Bytes ApplicationFile(const std::string& initial, const std::string& final_script,
                      const std::string& palette, const std::vector<std::string>& classes,
                      const std::vector<std::string>& comments);

}  // namespace corvane::test
