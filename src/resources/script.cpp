#include "resources/script.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "document/names.h"
#include "firmware/kinds.h"
#include "resources/stored.h"

namespace corvane {

namespace {

// A stack of strings whose top is its first element: Pop and Peek of an empty stack give "".
class TStringStack {
 public:
  void Push(std::string s) { items_.push_back(std::move(s)); }
  std::string Pop() {
    if (items_.empty()) return {};
    std::string s = std::move(items_.back());
    items_.pop_back();
    return s;
  }
  std::string Peek() const { return items_.empty() ? std::string() : items_.back(); }
  std::size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  // Every item from the bottom (first pushed) to the top; the stack is emptied.
  std::vector<std::string> TakeAll() { return std::exchange(items_, {}); }

 private:
  std::vector<std::string> items_;  // the top is the last element
};

std::string Hex4(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value & 0xFFFF));
  return text;
}

// The big-endian value of n bytes (0..8) at pos.
std::uint64_t ReadBigEndian(ByteView v, std::size_t pos, std::int32_t n) {
  std::uint64_t value = 0;
  for (std::int32_t i = 0; i < std::min(n, 8); ++i)
    value = (value << 8) | v.at(pos + static_cast<std::size_t>(i));
  return value;
}

void ReplaceLast(std::string& text, std::string_view what, std::string_view with) {
  const std::size_t at = text.rfind(what);
  if (at != std::string::npos) text.replace(at, what.size(), with);
}

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i];
  return out;
}

bool IsClassFile(const TNodo& node) {
  return !node.IsDirectory() && KindOfName(node.Text) == FileKind::Class;
}

const TNodo* FirstClassIn(const std::vector<TNodo*>& nodes, std::string_view name) {
  const std::string wanted = LowerName(name);
  for (const TNodo* n : nodes)
    if (IsClassFile(*n) && LowerName(StoredClassName(PlainOf(*n))) == wanted) return n;
  return nullptr;
}

const TNodo* TopDirectory(const TNodo* root, std::string_view text) {
  if (root == nullptr) return nullptr;
  for (const TNodo* d : root->Children())
    if (LowerName(d->Text) == text) return d;
  return nullptr;
}

// The note for opcode 3's method number (-1: not a number).
std::string MethodUsage(const TMHWScript& script, std::int64_t method) {
  if (!script.panel) return {};
  const PanelMethods& p = *script.panel;
  const std::string base = Latin1ToUtf8(script.base_name);
  std::string note = " - Used by : ";
  if (p.refresh_method == method) note += base + ".RefreshMethod, ";
  if (p.init_method == method) note += base + ".InitializationMethod, ";
  if (p.final_method == method) note += base + ".FinalizationMethod, ";
  for (std::size_t k = 0; k < p.elements.size(); ++k)
    if (p.elements[k].method == method)
      note += base + ":" + Latin1ToUtf8(p.elements[k].name) + " (" + std::to_string(k) + "), ";
  if (note[note.size() - 2] == ',') {
    note.resize(note.size() - 2);
  } else {
    note = " - Method not used by any widget !!!!";
  }
  return note;
}

bool OneOf(std::uint32_t op, std::initializer_list<std::uint32_t> set) {
  return std::find(set.begin(), set.end(), op) != set.end();
}

bool SuppressedOpcode(std::uint32_t op) {
  return OneOf(op, {2, 6, 14, 30, 32, 35, 37, 38, 41, 42, 45, 47, 55}) || (op >= 20 && op <= 28);
}

std::string Indent(int level) {
  return std::string(2 * static_cast<std::size_t>(std::max(level, 0)), ' ');
}

}  // namespace

std::size_t ScriptCodeStart(ByteView plain) {
  return 19 + 18 * static_cast<std::size_t>(plain.at(18));
}

std::string StoredClassName(ByteView plain) {
  return LeeNombre(plain, 14 + plain.u16be(8), plain.u16be(10));
}

const TNodo* FindClassNode(const TNodo& script, std::string_view class_name) {
  const TNodo* parent = script.Parent();
  std::vector<TNodo*> siblings;
  if (parent != nullptr) {
    siblings = parent->Children();
  } else if (script.Tree() != nullptr) {
    for (std::size_t i = 0; i < script.Tree()->TopCount(); ++i)
      siblings.push_back(script.Tree()->Top(i));
  }
  if (const TNodo* found = FirstClassIn(siblings, class_name)) return found;
  const TNodo* root = script.Tree() ? script.Tree()->Root() : nullptr;
  for (const char* dir : {"basic", "commun"})
    if (const TNodo* d = TopDirectory(root, dir))
      if (const TNodo* found = FirstClassIn(d->Children(), class_name)) return found;
  if (root == nullptr) return nullptr;
  for (const TNodo* d : root->Children()) {
    for (TNodo* c : d->Children()) {
      if (c->HasChildren()) {
        if (const TNodo* found = FirstClassIn(c->Children(), class_name)) return found;
      } else if (const TNodo* found = FirstClassIn({c}, class_name)) {
        return found;
      }
    }
  }
  return nullptr;
}

TMHWScript TMHWScript::Create(const TNodo& node, const ListingContext& context) {
  return FromPlain(PlainOf(node), &node, context);
}

TMHWScript TMHWScript::FromPlain(Bytes plain, const TNodo* node, const ListingContext& context) {
  TMHWScript s;
  s.plain = std::move(plain);
  if (node != nullptr) {
    s.base_name = node->Text.substr(0, node->Text.find('.'));
    const TNodo* parent = node->Parent();
    if (parent != nullptr) {
      if (const TNodo* panel = BuscaNodo(parent->FirstChild(), s.base_name + ".pa", false))
        s.panel = ReadPanelMethods(PlainOf(*panel));
    }
  }
  ListaFuente(s, context, [node](std::string_view name) -> std::optional<TMHWClass> {
    if (node == nullptr) return std::nullopt;
    const TNodo* found = FindClassNode(*node, name);
    if (found == nullptr) return std::nullopt;
    return TMHWClass::Create(*found);
  });
  return s;
}

bool TMHWScript::Guarda(TNodo& node) const {
  return StorePlain(node, plain);
}

bool ListaFuente(TMHWScript& script, const ListingContext& context,
                 const std::function<std::optional<TMHWClass>(std::string_view)>& find_class) {
  const ByteView plain(script.plain);
  const InstructionTable& table = context.instructions;
  std::string name = LeeNombre(plain, 2, 16);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  script.script_name = name;
  const std::size_t n = plain.at(18);
  script.class_names.clear();
  script.classes.assign(n, std::nullopt);
  for (std::size_t i = 0; i < n; ++i)
    script.class_names.push_back(LeeNombre(plain, 19 + 18 * i, 16));
  for (std::size_t i = 0; i < n; ++i) {
    script.classes[i] = find_class ? find_class(script.class_names[i]) : std::nullopt;
    if (!script.classes[i]) {
      script.missing_class = script.class_names[i];
      const Message message =
          Message::FromRow(262).Text(Latin1ToUtf8(script.class_names[i])).Row(263);
      if (context.interactive)
        script.shown.push_back(message);
      else
        script.listing.push_back(RenderMessage(message, context.messages));
      script.listed = false;
      return false;
    }
  }
  for (const std::string& c : script.class_names)
    script.listing.push_back("class " + Latin1ToUtf8(c) + ";");
  if (n > 0) script.listing.emplace_back();
  script.listing.push_back("script " + Latin1ToUtf8(script.script_name) + "(){");

  const std::size_t code_start = 19 + 18 * n;
  const std::size_t length = plain.size();
  std::size_t pos = code_start;
  TStringStack expressions, loop_operands, blocks;
  std::vector<long long> pending;
  std::string output;
  int level = 1;
  long long counter = 0;
  bool suppress_next = false;
  std::string last_variable;
  std::string closed_previous;          // the block closed at the previous instruction
  std::vector<std::uint32_t> reported;  // unknown opcodes already shown
  script.instructions_decoded = 0;

  while (pos < length) {
    ++script.instructions_decoded;
    const std::size_t start = pos;
    const std::uint32_t op = plain.u16be(pos);
    const InstructionEntry& e = table.Entry(op);
    std::string operand, expression;
    std::string tmpl = e.mnem;
    bool suppress = suppress_next;
    bool stop = false;
    std::int64_t oplen = e.oplen;
    const std::int32_t parlen = std::max<std::int32_t>(e.parlen, 0);
    auto advance = [&](std::int64_t by) {
      // An instruction never moves backwards or stays in place: that ends the listing.
      if (by <= 0) {
        stop = true;
        pos = start;
      } else {
        pos = start + static_cast<std::size_t>(
                          std::min<std::int64_t>(by, static_cast<std::int64_t>(length)));
      }
    };

    if (e.undefined && context.interactive &&
        std::find(reported.begin(), reported.end(), op) == reported.end()) {
      reported.push_back(op);
      script.shown.push_back(Message::FromRow(341).Text(" " + Hex4(op)));
    }

    const auto at = [&](std::int64_t offset) {
      return offset < 0 ? length : start + static_cast<std::size_t>(offset);
    };
    if (e.type == "primary") {
      if (e.par == "char") {
        const std::size_t limit = plain.u16be(at(oplen));
        const std::size_t text_at = at(oplen + parlen);
        std::string text;
        for (std::size_t i = 0; i < limit && text_at + i < length && plain.at(text_at + i) != 0;
             ++i)
          text.push_back(static_cast<char>(plain.at(text_at + i)));
        advance(oplen + parlen + static_cast<std::int64_t>(text.size()) + 1);
        if (!stop && (pos - code_start) % 2 != 0) ++pos;
        std::string escaped;
        for (const char c : text) escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
        operand = "\"" + Latin1ToUtf8(escaped) + "\"";
      } else {
        const std::int64_t from_code = static_cast<std::int64_t>(start - code_start);
        if (parlen >= 3 && (from_code + oplen) % 4 != 0) oplen += 2;
        if (parlen == 8 && (from_code + oplen) % 8 != 0) oplen += 4;
        if (e.par == "int") {
          const std::uint64_t raw = ReadBigEndian(plain, at(oplen), parlen);
          operand =
              parlen == 4 ? std::to_string(static_cast<std::int32_t>(raw)) : std::to_string(raw);
        } else if (e.par == "var") {
          const std::size_t c = plain.u16be(at(oplen));
          const std::size_t v = plain.u16be(at(oplen) + 2);
          const std::string class_name =
              c < n ? Latin1ToUtf8(script.class_names[c]) : std::string();
          const TMHWClass* cls = c < n && script.classes[c] ? &*script.classes[c] : nullptr;
          if (cls != nullptr && v < cls->variables.size())
            last_variable = class_name + "." + Latin1ToUtf8(cls->variables[v].name);
          else
            last_variable = class_name + "." + "UnknownVariable" + Hex4(v);
          operand = last_variable;
        }
        advance(oplen + parlen);
      }
    } else if (e.type == "jump") {
      const std::uint64_t d = ReadBigEndian(plain, at(oplen), parlen);
      const long long target = counter + static_cast<long long>(d) + 1;
      operand = "lbl_" + std::to_string(target);
      if (op == 18 && d + 1 != 2) {
        if (blocks.Peek() == "if" || closed_previous == "if") {
          pending.push_back(target);
          tmpl = "else";
        }
      } else if (op == 18) {
        suppress = true;
      }
      advance(oplen + parlen);
    } else if (e.type == "loop") {
      operand = std::to_string(ReadBigEndian(plain, at(oplen), parlen));
      advance(oplen + parlen);
    } else if (e.type == "function" && e.par == "int") {
      const std::uint64_t value = ReadBigEndian(plain, at(oplen), parlen);
      if (op == 3) expressions.Push(Hex4(value));
      operand = std::to_string(value);
      advance(oplen + parlen);
    } else {  // secondary, a function without an integer operand, any other type
      advance(oplen);
    }

    if (!tmpl.empty()) {
      if (e.type == "jump" || e.type == "loop") {
        expression = tmpl + " " + operand;
      } else if (e.type == "primary") {
        if (OneOf(op, {12, 39, 40, 54}))
          expression = operand + tmpl;
        else if (op >= 41 && op <= 53)
          expression = tmpl + operand;
        else
          expression = operand + " " + tmpl;
      } else {
        expression = tmpl;
      }
    }
    if (e.peek > 0) expression += expressions.Peek();
    if (e.pop > 0) {
      std::int32_t modpush = e.modpush;
      for (std::int32_t i = 0; i < e.pop; ++i) {
        // Past the stacked items, further rounds can only fill "#" marks and notes.
        if (expressions.Empty() && modpush <= 0 && op != 3 &&
            expression.find('#') == std::string::npos)
          break;
        std::string item = expressions.Pop();
        if (item.empty()) item = "ParamValue";
        if (modpush > 0) {
          loop_operands.Push(item);
          --modpush;
        }
        const std::size_t mark = op == 13 ? expression.find('#') : expression.rfind('#');
        if (mark != std::string::npos) expression.replace(mark, 1, item);
        if (op == 3) expression += MethodUsage(script, HexAEntero(item));
        if (i >= 0xFFFF) break;
      }
    }
    if (e.pop <= 0 && e.type == "function" && e.undefined)
      expression = table.Name(op) + "(" + Joined(expressions.TakeAll()) + ")";
    if (op == 16) {
      std::string f = expressions.Pop();
      if (!expressions.Empty()) f += ", ";
      expression = table.Name(op) + "(" + f + Joined(expressions.TakeAll()) + ")";
    }
    if (e.type == "loop") {
      for (std::size_t at_mark = expression.rfind('$'); at_mark != std::string::npos;
           at_mark = at_mark == 0 ? std::string::npos : expression.rfind('$', at_mark - 1))
        expression.replace(at_mark, 1, last_variable);
    }
    if (op == 15) {
      const std::string a = loop_operands.Pop(), b = loop_operands.Pop(), c = loop_operands.Pop(),
                        d = loop_operands.Pop();
      ReplaceLast(output, "<FOR>", a + " = " + d + "; " + a + " < " + c + "; " + a + " += " + b);
      ReplaceLast(output, "<LOOP>", "{");
      expression = "}";
      blocks.Pop();
    } else if (op == 34) {
      ReplaceLast(output, "<LOOP>", "while " + loop_operands.Pop() + " {");
      expression = "}";
      blocks.Pop();
    } else if (op == 33) {
      const std::string a = loop_operands.Pop();
      ReplaceLast(output, "<LOOP>", "do {");
      expression = "} while (" + a + ")";
      blocks.Pop();
    }
    if (e.push > 0)
      expressions.Push(e.type == "primary" && !(op >= 39 && op <= 53) ? operand : expression);
    const bool abs_call =
        op == 108 && script.previous_opcode == 22 && script.previous_previous_opcode == 56;
    if (abs_call) expressions.Push("abs(" + expressions.Pop() + ")");
    if (e.shift < 0) --level;
    if (expression.empty() || e.push >= 1) suppress = true;
    if (tmpl == "else") expression = "else";
    if ((e.type == "function" && op != 3) || OneOf(op, {12, 17, 54, 157, 158, 159, 161}))
      expression += ";";
    std::string statement = expression;
    if (op == 29) {
      statement = "for (<FOR>)";
    } else if (op == 31) {
      statement = "<LOOP>";
      blocks.Push("loop");
    } else if (op == 19) {
      const std::size_t underscore = expression.rfind('_');
      if (underscore != std::string::npos) {
        const std::string digits = expression.substr(underscore + 1);
        long long target = 0;
        bool number = !digits.empty() && digits.size() < 18;
        for (const char ch : digits) {
          if (ch < '0' || ch > '9') {
            number = false;
            break;
          }
          target = target * 10 + (ch - '0');
        }
        if (number) pending.push_back(target);
      }
      const std::size_t open = expression.find('(');
      const std::size_t close = expression.rfind(')');
      const std::string condition =
          open != std::string::npos && close != std::string::npos && close > open
              ? expression.substr(open + 1, close - open - 1)
              : std::string();
      statement = "if (" + condition + ") {";
      blocks.Push("if");
    }
    std::string closed_now;
    for (auto it = std::find(pending.begin(), pending.end(), counter); it != pending.end();
         it = std::find(pending.begin(), pending.end(), counter)) {
      --level;
      output += Indent(level) + "}\r\n";
      closed_now = blocks.Pop();
      pending.erase(it);
    }
    closed_previous = closed_now;
    if (SuppressedOpcode(op) || abs_call) suppress = true;
    script.previous_previous_opcode = script.previous_opcode;
    script.previous_opcode = static_cast<std::uint16_t>(op);
    if (!suppress) output += Indent(level) + statement + "\r\n";
    suppress_next = false;
    if (tmpl == "else") {
      blocks.Push("else");
      output += Indent(level) + "{\r\n";
      ++level;
    }
    if (op == 31 && !operand.empty() && operand != "0") suppress_next = true;
    if (e.shift > 0) ++level;
    ++counter;
    if (op == 0 || stop) break;
  }
  while (!blocks.Empty()) {
    --level;
    output += Indent(level) + "}\r\n";
    blocks.Pop();
  }
  std::size_t line_start = 0;
  bool any = false;
  while (line_start < output.size()) {
    const std::size_t end = output.find("\r\n", line_start);
    const std::size_t stop_at = end == std::string::npos ? output.size() : end;
    script.listing.push_back(output.substr(line_start, stop_at - line_start));
    line_start = end == std::string::npos ? output.size() : end + 2;
    any = true;
  }
  // The last line of the code becomes the script's closing brace; a script that printed nothing
  // keeps its header line and gets the brace after it.
  if (any)
    script.listing.back() = "}";
  else
    script.listing.push_back("}");
  script.listed = true;
  return true;
}

int ClassEntryAt(std::string_view line, std::size_t column,
                 const std::vector<std::string>& class_names) {
  auto word_char = [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '_' || c == '+' || c == '.';
  };
  if (column > line.size()) return -1;
  std::size_t begin = column;
  while (begin > 0 && word_char(line[begin - 1])) --begin;
  std::size_t end = column;
  while (end < line.size() && word_char(line[end])) ++end;
  const std::string_view word = line.substr(begin, end - begin);
  const std::string_view name = word.substr(0, word.find('.'));
  if (name.empty()) return -1;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (std::size_t i = 0; i < class_names.size(); ++i) {
    const std::string& candidate = class_names[i];
    if (candidate.size() == name.size() &&
        std::equal(candidate.begin(), candidate.end(), name.begin(),
                   [&](char a, char b) { return lower(a) == lower(b); }))
      return static_cast<int>(i);
  }
  return -1;
}

}  // namespace corvane
