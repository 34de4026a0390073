// Classes, applications, their JSON forms, the script's class search and the code export.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "document/code_export.h"
#include "document/references.h"
#include "firmware/codec.h"
#include "resources/application.h"
#include "resources/application_json.h"
#include "resources/class.h"
#include "resources/class_json.h"
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
  TMHWClass c = TMHWClass::FromPlain(file);
  EXPECT_EQ(c.name, "averyverylong");
  ASSERT_EQ(c.variables.size(), 5u);
  EXPECT_EQ(c.variables[0].dimension_kind, 1);
  EXPECT_EQ(c.variables[0].dimension1, 5);
  EXPECT_EQ(c.variables[1].name, "fourteenchars");
  EXPECT_EQ(c.variables[1].option, 1);
  EXPECT_EQ(c.variables[1].length, 30);
  EXPECT_EQ(c.variables[2].dimension_kind, 2);
  EXPECT_EQ(c.variables[3].option, 2);
  EXPECT_EQ(c.variables[3].length, 8);
  EXPECT_EQ(c.variables[4].type, 11);
  EXPECT_EQ(c.variables[4].name, "flag");

  // Type 0 with dimension 1 = 5 is written with kind 3 (type byte 0xC0).
  TMHWClass one;
  one.plain = file;
  one.name = "k";
  one.variables = {{"v", 0, 0, 5, 1, 10, 0}};
  const Bytes written = one.Plain();
  EXPECT_EQ(written[14], 0xC0);
  TArbol tree;
  TNodo* node = AnadeNodo(Compress(file), "k.clz", tree, nullptr);
  ASSERT_TRUE(one.Guarda(*node));
  EXPECT_EQ(one.variables[0].dimension_kind, 3);
  EXPECT_EQ(Decompress(node->Data.View()), written);
  EXPECT_EQ(Bytes(written.begin() + 2, written.begin() + 8),
            Bytes(file.begin() + 2, file.begin() + 8));

  // Types above 10 keep a payload byte, and types 16 to 32 read back as written.
  TMHWClass wide;
  wide.name = "w";
  wide.variables = {{"a", 11}, {"b", 32}, {"c", 2, 0, 1, 1, 7, 0}};
  const TMHWClass again = TMHWClass::FromPlain(wide.Plain());
  ASSERT_EQ(again.variables.size(), 3u);
  EXPECT_EQ(again.variables[0].type, 11);
  EXPECT_EQ(again.variables[1].type, 32);
  EXPECT_EQ(again.variables[2].length, 7);
  EXPECT_EQ(again.variables[2].name, "c");

  // No variables: 14 header bytes, the name, its NUL and two zero bytes.
  TMHWClass empty;
  empty.name = "none";
  EXPECT_EQ(empty.Plain(),
            (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 'n', 'o', 'n', 'e', 0, 0, 0}));
}

TEST(ClassResource, EditsVariables) {
  const MessageTable messages;
  TMHWClass c = TMHWClass::FromPlain(ClassFile("k", {{"a", 2, 1}, {"b", 2, 1}, {"c", 2, 1}}));
  c.NuevaVariable(0, messages);
  EXPECT_EQ(c.variables[1].name, "NUEVA_VAR");
  EXPECT_EQ(c.variables[1].length, 10);
  EXPECT_TRUE(c.MueveVariable(3, 0));
  std::string order;
  for (const auto& v : c.variables) order += v.name.substr(0, 1);
  EXPECT_EQ(order, "caNb");
  while (c.BorraVariable(0)) {
  }
  EXPECT_EQ(c.variables.size(), 1u);  // the last one stays
}

TEST(ApplicationResource, ByteLayoutAndNames) {
  TMHWApplication a;
  a.initial_script = "start";
  EXPECT_EQ(a.Plain().size(), 2u + 2 + 5 + 2 + 2 + 2 + 10 + 2 + 38);
  const Bytes file = test::ApplicationFile("averylongname", "end", "", {"main", "main2"}, {"hola"});
  const TMHWApplication read = TMHWApplication::FromPlain(file);
  EXPECT_EQ(read.initial_script, "averylon");
  EXPECT_EQ(read.final_script, "end");
  EXPECT_EQ(read.classes, (std::vector<std::string>{"main", "main2"}));
  EXPECT_EQ(read.comments, std::vector<std::string>{"hola"});
  TMHWApplication copy = read;
  EXPECT_FALSE(copy.AnadeClase("main"));
  const MessageTable messages;
  TArbol tree;
  TNodo* dir = AnadeNodo({}, "code", tree, nullptr);
  TNodo* node = AnadeNodo(Compress(file), "start.apz", tree, dir);
  std::vector<std::string> lines;
  TMHWApplication::Create(*node).Describe(*node, messages, lines);
  EXPECT_EQ(lines.back(), "Comentarios :hola");
  EXPECT_EQ(lines[2], "Aplicación : start.apz");
}

TEST(ResourceJson, ClassAndApplicationRoundTrip) {
  const Bytes klass = ClassFile("main", {{"t", 0, 20, 1}, {"n", 2, 5, 0, 3, 2}});
  nlohmann::ordered_json j;
  ASSERT_TRUE(DumpClass(klass, "main.clz", j));
  EXPECT_EQ(j["reserved"], "DEAD00000001");
  j["variables"][1]["dimension_kind"] = 0;  // ignored: computed from the dimensions
  Bytes built;
  ASSERT_TRUE(BuildClass(j, "main.clz", built));
  EXPECT_EQ(built, klass);
  j["variables"][0]["name"] = "much_too_long_name";
  EXPECT_EQ(BuildClass(j, "main.clz", built).outcome, Outcome::Rejected);

  const Bytes app = test::ApplicationFile("start", "end", "pal", {"main"}, {"a comment"});
  ASSERT_TRUE(DumpApplication(app, "s.apz", j));
  ASSERT_TRUE(BuildApplication(j, "s.apz", built));
  EXPECT_EQ(built, app);
  j["classes"] = 3;
  EXPECT_FALSE(BuildApplication(j, "s.apz", built));
}

// A tree: dir "aaa/deep/x.clz" (class "shared" two levels down), "basic/b.clz" (class "shared"),
// "scripts/s.cpz" naming "SHARED".
TEST(ScriptResource, ClassSearchOrderAndReferences) {
  TArbol tree;
  TNodo* root = AnadeNodo({}, "image", tree, nullptr);
  TNodo* aaa = AnadeNodo({}, "aaa", tree, root);
  TNodo* deep = AnadeNodo({}, "deep", tree, aaa);
  AnadeNodo(Compress(ClassFile("shared", {{"deepvar", 2, 1}})), "x.clz", tree, deep);
  TNodo* basic = AnadeNodo({}, "BASIC", tree, root);
  AnadeNodo(Compress(ClassFile("shared", {{"basicvar", 2, 1}})), "b.clz", tree, basic);
  TNodo* scripts = AnadeNodo({}, "scripts", tree, root);
  test::ScriptAssembler a("s", {"SHARED", "gone"});
  TNodo* script = AnadeNodo(Compress(a.Plain()), "s.cpz", tree, scripts);

  const TNodo* found = FindClassNode(*script, "SHARED");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->Text, "b.clz");
  const std::vector<UnresolvedReference> missing = CheckReferences(*root);
  ASSERT_EQ(missing.size(), 2u);
  EXPECT_EQ(missing[0].kind, ReferenceKind::Class);
  EXPECT_EQ(missing[0].name, "gone");
  EXPECT_EQ(missing[1].kind, ReferenceKind::Panel);
}

TEST(CodeExport, AFirmwareWithoutCodeWritesThreeEmptyFiles) {
  test::TempDir dir;
  Document doc;  // nothing open: the three files are still written
  const InstructionTable instructions;
  const VarTypeTable types;
  const MessageTable messages;
  const CodeTables tables{instructions, types, messages};
  ASSERT_TRUE(ExtraeTodoElCodigo(doc, dir.path(), tables).ok());
  for (const char* name : {"Applications.txt", "Classes.txt", "Scripts.txt"})
    EXPECT_EQ(test::ReadText(dir / name), "") << name;
}

}  // namespace
}  // namespace corvane
