// Classes, applications, the class editor's field rules, the script's class search and the code
// export.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "document/code_export.h"
#include "document/references.h"
#include "firmware/codec.h"
#include "resources/application.h"
#include "resources/class.h"
#include "resources/script.h"
#include "support/files.h"
#include "support/script_assembler.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using test::ClassFile;

TEST(ClassResource, ReadsAndWritesItsEdgeCases) {
  // 5 x 1 dimensions read back as one dimension; 13 characters kept of longer names.
  const Bytes file = ClassFile("averyverylongclassname", {{"x", 2, 4, 0, 5, 1},
                                                          {"fourteenchars_", 0, 30, 1},
                                                          {"grid", 5, 3, 0, 4, 3},
                                                          {"price", 3, 8, 2},
                                                          {"flag", 11}});
  const TMHWClass c = TMHWClass::FromPlain(file);
  EXPECT_EQ(c.name, "averyverylong");
  EXPECT_EQ(c.variables, (std::vector<ClassVariable>{{"x", 2, 1, 5, 1, 4, 0},
                                                     {"fourteenchars", 0, 0, 1, 1, 30, 1},
                                                     {"grid", 5, 2, 4, 3, 3, 0},
                                                     {"price", 3, 0, 1, 1, 8, 2},
                                                     {"flag", 11, 0, 1, 1, 0, 0}}));

  // Type 0 with dimension 1 = 5 is written with kind 3 (type byte 0xC0); the 6 bytes at offset 2
  // are kept as read.
  TMHWClass one = c;
  one.name = "k";
  one.variables = {{"v", 0, 0, 5, 1, 10, 0}};
  const Bytes written = one.Plain();
  EXPECT_EQ(written[14], 0xC0);
  TArbol tree;
  TNodo* node = AnadeNodo(Compress(file), "k.clz", tree, nullptr);
  ASSERT_TRUE(one.Guarda(*node));
  EXPECT_EQ(one.variables[0].dimension_kind, 3);
  EXPECT_EQ(Decompress(node->Data.View()), written);
  EXPECT_EQ(Bytes(written.begin() + 2, written.begin() + 8), Bytes(file.begin() + 2, file.begin() + 8));

  // Types above 10 keep a payload byte, and types 16 to 32 read back as written.
  TMHWClass wide;
  wide.name = "w";
  wide.variables = {{"a", 11, 0, 1, 1, 0, 0}, {"b", 32, 0, 1, 1, 0, 0}, {"c", 2, 0, 1, 1, 7, 0}};
  EXPECT_EQ(TMHWClass::FromPlain(wide.Plain()).variables, wide.variables);

  // A count the bytes cannot hold makes only the variables whose records could be there (a damaged
  // class once made 65535 of them for every class a script named).
  Bytes damaged(20, 0);
  damaged[0] = damaged[1] = 0xFF;
  EXPECT_EQ(TMHWClass::FromPlain(damaged).variables.size(), 3u);

  // No variables: 14 header bytes, the name, its NUL and two zero bytes.
  TMHWClass empty;
  empty.name = "none";
  EXPECT_EQ(empty.Plain(), (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 'n', 'o', 'n', 'e', 0, 0, 0}));
}

TEST(ClassResource, EditsVariables) {
  const MessageTable messages;
  TMHWClass c = TMHWClass::FromPlain(ClassFile("k", {{"a", 2, 1}, {"b", 2, 1}, {"c", 2, 1}}));
  c.NuevaVariable(0, messages);
  EXPECT_EQ(c.variables[1], (ClassVariable{"NUEVA_VAR", 2, 0, 1, 1, 10, 0}));
  EXPECT_TRUE(c.MueveVariable(3, 0));
  std::string order;
  for (const auto& v : c.variables) order += v.name.substr(0, 1);
  EXPECT_EQ(order, "caNb");
  while (c.BorraVariable(0)) {
  }
  EXPECT_EQ(c.variables.size(), 1u);  // the last one stays
}

TEST(ClassEditingRules, VariableNames) {
  for (const char* name : {"A", "var_1", "x.y+z", "ZZZ9"}) EXPECT_TRUE(IsValidVariableName(name));
  for (const char* name : {"", "a b", "ñ", "a-b", "a;"}) EXPECT_FALSE(IsValidVariableName(name));
}

TEST(ClassEditingRules, NumberFieldsTakeWhatTheFileHolds) {
  struct Case {
    const char* text;
    int type;
    VariableField field;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"12", 0, VariableField::Length, 12},
      {"65535", 0, VariableField::Length, 65535},
      {"65536", 0, VariableField::Length, std::nullopt},   // 2 bytes
      {"256", 2, VariableField::Length, std::nullopt},     // 1 byte
      {"255", 5, VariableField::Length, 255},
      {"16", 3, VariableField::Option, std::nullopt},      // precision in 4 bits
      {"15", 3, VariableField::Option, 15},
      {"16", 10, VariableField::Length, std::nullopt},
      {"99999", 7, VariableField::Dimension1, std::nullopt},
      {"5", 7, VariableField::Dimension2, 5},
      {"", 0, VariableField::Length, std::nullopt},         // emptied: the stored value stays
      {"1a", 0, VariableField::Length, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VariableFieldValue(c.text, c.type, c.field), c.value) << c.text << " type " << c.type;
  EXPECT_EQ(DigitsOnly("1a2-3 "), "123");
}

TEST(ClassEditingRules, TypeChangeKeepsTheVariableWritable) {
  ClassVariable v{"v", 0, 3, 1, 1, 1000, 1};
  SetVariableType(v, 3);
  EXPECT_EQ(v, (ClassVariable{"v", 3, 0, 1, 1, 15, 1}));
  // The class reads back as the editor shows it.
  TMHWClass c;
  c.name = "K";
  c.variables = {v};
  EXPECT_EQ(TMHWClass::FromPlain(c.Plain()).variables, c.variables);
}

TEST(ScriptListing, ClassEntryUnderTheCursor) {
  const std::vector<std::string> names = {"Menu", "PLAYER"};
  struct Case {
    const char* line;
    std::size_t column;
    int entry;
  };
  const Case cases[] = {
      {"class Menu;", 7, 0},
      {"class Menu;", 10, 0},              // just after the name
      {"  player.volume = 3;", 10, 1},     // on the variable: its class
      {"  Menus.x = 1;", 3, -1},
      {"script main(){", 8, -1},
      {"", 0, -1},
      {"class Menu;", 40, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassEntryAt(c.line, c.column, names), c.entry) << c.line;
}

TEST(ApplicationResource, ByteLayoutAndNames) {
  TMHWApplication a;
  a.initial_script = "start";
  EXPECT_EQ(a.Plain().size(), 2u + 2 + 5 + 2 + 2 + 2 + 10 + 2 + 38);
  const Bytes file = test::ApplicationFile("averylongname", "end", "", {"main", "main2"}, {"hola"});
  TMHWApplication read = TMHWApplication::FromPlain(file);
  EXPECT_EQ(read.initial_script, "averylon");
  EXPECT_EQ(read.classes, (std::vector<std::string>{"main", "main2"}));
  EXPECT_FALSE(read.AnadeClase("main"));
  const MessageTable messages;
  TArbol tree;
  TNodo* node = AnadeNodo(Compress(file), "start.apz", tree, AnadeNodo({}, "code", tree, nullptr));
  std::vector<std::string> lines;
  TMHWApplication::Create(*node).Describe(*node, messages, lines);
  EXPECT_EQ(lines.back(), "Comentarios :hola");
  EXPECT_EQ(lines[2], "Aplicación : start.apz");
}

// A tree: dir "aaa/deep/x.clz" (class "shared" two levels down), "basic/b.clz" (class "shared"),
// "scripts/s.cpz" naming "SHARED".
TEST(ScriptResource, ClassSearchOrderAndReferences) {
  TArbol tree;
  TNodo* root = AnadeNodo({}, "image", tree, nullptr);
  TNodo* deep = AnadeNodo({}, "deep", tree, AnadeNodo({}, "aaa", tree, root));
  AnadeNodo(Compress(ClassFile("shared", {{"deepvar", 2, 1}})), "x.clz", tree, deep);
  AnadeNodo(Compress(ClassFile("shared", {{"basicvar", 2, 1}})), "b.clz", tree,
            AnadeNodo({}, "BASIC", tree, root));
  const Bytes script = test::ScriptAssembler("s", {"SHARED", "gone"}).Plain();
  TNodo* node = AnadeNodo(Compress(script), "s.cpz", tree, AnadeNodo({}, "scripts", tree, root));

  const TNodo* found = FindClassNode(*node, "SHARED");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->Text, "b.clz");
  const std::vector<UnresolvedReference> missing = CheckReferences(*root);
  ASSERT_EQ(missing.size(), 2u);
  EXPECT_EQ(std::pair(missing[0].kind, missing[0].name), std::pair(ReferenceKind::Class, std::string("gone")));
  EXPECT_EQ(missing[1].kind, ReferenceKind::Panel);
}

TEST(CodeExport, AFirmwareWithoutCodeWritesThreeEmptyFiles) {
  test::TempDir dir;
  Document doc;  // nothing open: the three files are still written
  const InstructionTable instructions;
  const VarTypeTable types;
  const MessageTable messages;
  ASSERT_TRUE(ExtraeTodoElCodigo(doc, dir.path(), {instructions, types, messages}).ok());
  for (const char* name : {"Applications.txt", "Classes.txt", "Scripts.txt"})
    EXPECT_EQ(test::ReadText(dir / name), "") << name;
}

}  // namespace
}  // namespace corvane
