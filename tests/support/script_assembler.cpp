#include "support/script_assembler.h"

#include <stdexcept>

namespace corvane::test {

namespace {
void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
  b.push_back(static_cast<std::uint8_t>(v & 0xFF));
}
void PutText(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }
void PutLong(Bytes& b, const std::string& s) {
  Put16(b, static_cast<std::uint32_t>(s.size()));
  PutText(b, s);
}
}  // namespace

ScriptAssembler& ScriptAssembler::Op(std::uint16_t opcode) {
  Put16(code_, opcode);
  ++count_;
  return *this;
}

ScriptAssembler& ScriptAssembler::Word(std::uint16_t opcode, std::uint16_t value) {
  Op(opcode);
  Put16(code_, value);
  return *this;
}

ScriptAssembler& ScriptAssembler::Int(std::uint16_t opcode, std::int32_t value) {
  return Var(opcode, static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) >> 16),
             static_cast<std::uint16_t>(value));
}

ScriptAssembler& ScriptAssembler::Var(std::uint16_t opcode, std::uint16_t class_index,
                                      std::uint16_t variable) {
  Op(opcode);
  if (code_.size() % 4 != 0) Put16(code_, 0);
  Put16(code_, class_index);
  Put16(code_, variable);
  return *this;
}

ScriptAssembler& ScriptAssembler::Str(std::uint16_t opcode, const std::string& text) {
  Op(opcode);
  PutLong(code_, text);
  code_.push_back(0);
  if (code_.size() % 2 != 0) code_.push_back(0);
  return *this;
}

int ScriptAssembler::NewLabel() {
  labels_.push_back(-1);
  return static_cast<int>(labels_.size()) - 1;
}

ScriptAssembler& ScriptAssembler::Bind(int label) {
  labels_.at(static_cast<std::size_t>(label)) = count_;
  return *this;
}

ScriptAssembler& ScriptAssembler::Jump(std::uint16_t opcode, int label) {
  Put16(code_, opcode);
  fixups_.push_back({code_.size(), {label, count_++}});
  Put16(code_, 0);
  return *this;
}

Bytes ScriptAssembler::Plain() const {
  Bytes out(2, 0);
  for (std::size_t i = 0; i < 16; ++i)
    out.push_back(i < name_.size() ? static_cast<std::uint8_t>(name_[i]) : 0);
  out.push_back(static_cast<std::uint8_t>(classes_.size()));
  for (const std::string& c : classes_)
    for (std::size_t i = 0; i < 18; ++i)
      out.push_back(i < c.size() && i < 16 ? static_cast<std::uint8_t>(c[i]) : 0);
  Bytes code = code_;
  for (const auto& [offset, target] : fixups_) {
    const int bound = labels_.at(static_cast<std::size_t>(target.first));
    if (bound < 0) throw std::logic_error("unbound label");
    // The lister's target is the instruction counter + d + 1.
    const auto d = static_cast<std::uint32_t>(bound - target.second - 1);
    code[offset] = static_cast<std::uint8_t>((d >> 8) & 0xFF);
    code[offset + 1] = static_cast<std::uint8_t>(d & 0xFF);
  }
  out.insert(out.end(), code.begin(), code.end());
  return out;
}

Bytes ClassFile(const std::string& name, const std::vector<ClassVarSpec>& variables) {
  Bytes descriptors, names;
  for (const ClassVarSpec& v : variables) {
    const bool dims = v.dim1 != 0;
    const int t = v.type;
    descriptors.push_back(
        static_cast<std::uint8_t>(t | (t != 2 && t != 3 ? 0x40 : 0) | (dims ? 0x80 : 0)));
    if (t == 2 || t == 5) {
      descriptors.push_back(static_cast<std::uint8_t>(v.length));
    } else if (t == 3 || t == 10) {
      descriptors.push_back(static_cast<std::uint8_t>(v.option * 16 + v.length));
    } else if (t <= 9) {
      descriptors.push_back(v.option);
      Put16(descriptors, v.length);
    } else {
      descriptors.push_back(0);
    }
    if (dims) {
      Put16(descriptors, v.dim1);
      Put16(descriptors, v.dim2);
    }
    PutText(names, v.name);
    names.push_back(0);
  }
  Bytes out;
  Put16(out, static_cast<std::uint32_t>(variables.size()));
  out.insert(out.end(), {0xDE, 0xAD, 0, 0, 0, 1});
  Put16(out, static_cast<std::uint32_t>(descriptors.size()));
  Put16(out, static_cast<std::uint32_t>(name.size() + 1));
  Put16(out, static_cast<std::uint32_t>(names.size()));
  out.insert(out.end(), descriptors.begin(), descriptors.end());
  PutText(out, name);
  out.push_back(0);
  out.insert(out.end(), names.begin(), names.end());
  out.insert(out.end(), {0, 0});
  return out;
}

Bytes ApplicationFile(const std::string& initial, const std::string& final_script,
                      const std::string& palette, const std::vector<std::string>& classes,
                      const std::vector<std::string>& comments) {
  Bytes out(2, 0);
  for (const std::string* s : {&initial, &final_script, &palette}) PutLong(out, *s);
  Put16(out, static_cast<std::uint32_t>(classes.size()));
  for (const std::string& c : classes) PutLong(out, c);
  out.insert(out.end(), 10, 0);
  Put16(out, static_cast<std::uint32_t>(comments.size()));
  for (const std::string& c : comments) PutLong(out, c);
  out.insert(out.end(), 38, 0);
  return out;
}

}  // namespace corvane::test
