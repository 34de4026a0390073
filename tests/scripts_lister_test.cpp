// The script source lister against hand-assembled scripts and a small instruction table, and the
// reading rules of the instruction table.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "resources/script.h"
#include "support/script_assembler.h"

namespace corvane {
namespace {

using test::ScriptAssembler;
namespace op = test::op;

// A test table: the fixed opcode numbers with short templates.
constexpr const char* kTable =
    "[0000]\nname=end\ntype=secondary\nmnem=return\n"
    "[0001]\ntype=primary\npar=int\nparlen=4\npush=1\n"
    "[0003]\ntype=function\npar=int\nparlen=2\npop=1\nmnem=method #\n"
    "[0004]\ntype=primary\npar=var\nparlen=4\npush=1\n"
    "[0005]\ntype=primary\npar=char\nparlen=2\npush=1\n"
    "[0008]\ntype=function\npop=1\nmnem=print(#)\n"
    "[000D]\ntype=primary\npar=var\nparlen=4\npop=1\nmnem== #;\n"
    "[000F]\ntype=secondary\nmnem=next\nshift=-1\n"
    "[0010]\nname=call\ntype=function\n"
    "[0012]\ntype=jump\nparlen=2\nmnem=goto\n"
    "[0013]\ntype=jump\nparlen=2\npop=1\nmnem=ifnot (#) goto\nshift=1\n"
    "[0016]\ntype=secondary\n"
    "[001D]\ntype=secondary\npop=4\nmodpush=4\nmnem=for\n"
    "[001F]\ntype=loop\nparlen=2\nmnem=loop\nshift=1\n"
    "[0021]\ntype=secondary\npop=1\nmodpush=1\nmnem=until\nshift=-1\n"
    "[0022]\ntype=secondary\npop=1\nmodpush=1\nmnem=while\nshift=-1\n"
    "[0027]\ntype=primary\npop=2\npush=1\nmnem=(# + #)\n"
    "[002E]\ntype=primary\npop=2\npush=1\nmnem=# < #\n"
    "[0038]\ntype=secondary\n"
    "[006C]\ntype=secondary\n";

ByteView View(std::string_view text) {
  return ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

InstructionTable TableFrom(std::string_view text) {
  InstructionTable table;
  EXPECT_TRUE(table.Read(View(text)));
  return table;
}

std::string Listing(const Bytes& plain, const InstructionTable& table,
                    std::optional<PanelMethods> panel = std::nullopt) {
  static const MessageTable messages;
  TMHWScript script;
  script.plain = plain;
  script.base_name = "menu";
  script.panel = std::move(panel);
  TMHWClass main;
  main.name = "main";
  main.variables = {{"count"}, {"total"}};
  const bool listed = ListaFuente(script, {table, messages, false}, [&](std::string_view) { return main; });
  std::string out = listed ? "" : "NOT LISTED\n";
  for (const std::string& line : script.listing) out += line + "\n";
  return out;
}

Bytes Script(const std::function<void(ScriptAssembler&)>& body,
             std::vector<std::string> classes = {"main"}) {
  ScriptAssembler a("demo  ", std::move(classes));
  body(a);
  return a.Plain();
}

TEST(ScriptLister, ListsHandAssembledScripts) {
  const InstructionTable table = TableFrom(kTable);
  const std::string head = "class main;\n\nscript demo(){\n";
  struct Case { const char* what; Bytes plain; std::string expected; };
  const Case cases[] = {
      {"first opcode 0", Script([](auto& a) { a.Op(op::kEnd); }), head + "}\n"},
      {"no classes", Script([](auto& a) { a.Op(op::kEnd); }, {}), "script demo(){\n}\n"},
      {"empty stack gives ParamValue", Script([](auto& a) { a.Op(op::kPrint).Op(op::kEnd); }),
       head + "  print(ParamValue);\n}\n"},
      {"line feed in a string",
       Script([](auto& a) { a.Str(op::kPushStr, "a\nb").Op(op::kPrint).Op(op::kEnd); }),
       head + "  print(\"a\\nb\");\n}\n"},
      {"store into a variable and unknown variable", Script([](auto& a) {
         a.Int(op::kPushInt, -7).Var(op::kStore, 0, 1).Var(op::kPushVar, 0, 9).Op(op::kPrint);
         a.Op(op::kEnd);
       }),
       head + "  main.total = -7;\n  print(main.UnknownVariable0009);\n}\n"},
      {"if / else", Script([](auto& a) {
         const int other = a.NewLabel(), done = a.NewLabel();
         a.Var(op::kPushVar, 0, 0).Jump(op::kIfNot, other).Int(op::kPushInt, 1).Op(op::kPrint);
         // The if block ends at the jump over the else block.
         a.Bind(other).Jump(op::kGoto, done).Int(op::kPushInt, 2).Op(op::kPrint);
         a.Bind(done).Op(op::kBeep).Op(op::kEnd);
       }),
       head + "  if (main.count) {\n    print(1);\n  }\n  else\n  {\n    print(2);\n  }\n"
              "  func00A1();\n}\n"},
      {"two ifs ending at one instruction", Script([](auto& a) {
         const int end = a.NewLabel();
         a.Var(op::kPushVar, 0, 0).Jump(op::kIfNot, end).Var(op::kPushVar, 0, 1);
         a.Jump(op::kIfNot, end).Int(op::kPushInt, 3).Op(op::kPrint);
         a.Bind(end).Int(op::kPushInt, 4).Op(op::kPrint).Op(op::kEnd);
       }),
       head + "  if (main.count) {\n    if (main.total) {\n      print(3);\n    }\n  }\n"
              "  print(4);\n}\n"},
      {"for", Script([](auto& a) {
         a.Var(op::kPushVar, 0, 0).Int(op::kPushInt, 1).Int(op::kPushInt, 5).Int(op::kPushInt, 0);
         a.Op(op::kFor).Word(op::kLoop, 0).Var(op::kPushVar, 0, 0).Op(op::kPrint).Op(op::kNext);
         a.Op(op::kEnd);
       }),
       head + "  for (main.count = 0; main.count < 5; main.count += 1)\n  {\n"
              "    print(main.count);\n  }\n}\n"},
      {"while", Script([](auto& a) {
         a.Word(op::kLoop, 0).Int(op::kPushInt, 1).Op(op::kPrint);
         a.Var(op::kPushVar, 0, 0).Int(op::kPushInt, 9).Op(op::kLess).Op(op::kWhile).Op(op::kEnd);
       }),
       head + "  while main.count < 9 {\n    print(1);\n  }\n}\n"},
      {"do-while", Script([](auto& a) {
         a.Word(op::kLoop, 0).Int(op::kPushInt, 1).Op(op::kPrint);
         a.Var(op::kPushVar, 0, 0).Op(op::kUntil).Op(op::kEnd);
       }),
       head + "  do {\n    print(1);\n  } while (main.count)\n}\n"},
      {"abs", Script([](auto& a) {
         a.Var(op::kPushVar, 0, 1).Op(op::kDup).Op(op::kTestNegative).Op(op::kNegateIf);
         a.Op(op::kPrint).Op(op::kEnd);
       }),
       head + "  print(abs(main.total));\n}\n"},
      {"opcode 16 call", Script([](auto& a) {
         a.Int(op::kPushInt, 1).Int(op::kPushInt, 2).Str(op::kPushStr, "f").Op(op::kCall);
         a.Str(op::kPushStr, "g").Op(op::kCall).Op(op::kEnd);
       }),
       head + "  call(\"f\", 1, 2);\n  call(\"g\");\n}\n"},
      {"unknown opcode",
       Script([](auto& a) { a.Int(op::kPushInt, 1).Int(op::kPushInt, 2).Op(0x0400).Op(op::kEnd); }),
       head + "  func0400(1, 2);\n}\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Listing(c.plain, table), c.expected) << c.what;
  // Without a table every opcode is a two-byte call.
  EXPECT_EQ(Listing(Script([](auto& a) { a.Op(7).Op(0x0340).Op(op::kEnd); }), InstructionTable()),
            head + "  func0007();\n  func0340();\n}\n");
}

TEST(ScriptLister, MethodNotesReadThePanel) {
  const InstructionTable table = TableFrom(kTable);
  PanelMethods panel;
  panel.refresh_method = 2;
  panel.init_method = 2;
  panel.elements = {{1, "MENU", 0xFFFF, {}}, {2, "OK", 2, {}}, {2, "ANY", 0xFFFF, {}}};
  const Bytes plain = Script([](auto& a) {
    a.Word(op::kMethod, 2).Word(op::kMethod, 0xFFFF).Word(op::kMethod, 7).Op(op::kEnd);
  });
  EXPECT_EQ(Listing(plain, table, panel),
            "class main;\n\nscript demo(){\n"
            "  method 0002 - Used by : menu.RefreshMethod, menu.InitializationMethod, "
            "menu:OK (1)\n"
            "  method FFFF - Used by : menu:MENU (0), menu:ANY (2)\n"
            "  method 0007 - Method not used by any widget !!!!\n}\n");
  // Without a panel the notes are empty.
  EXPECT_NE(Listing(plain, table).find("  method 0007\n"), std::string::npos);
}

TEST(ScriptLister, MissingClassEndsTheRun) {
  const InstructionTable table;
  const MessageTable messages;
  TMHWScript script;
  script.plain = Script([](auto& a) { a.Op(op::kEnd); }, {"main", "Nowhere"});
  const auto find = [](std::string_view name) {
    return name == "main" ? std::optional<TMHWClass>(TMHWClass()) : std::nullopt;
  };
  EXPECT_FALSE(ListaFuente(script, {table, messages, false}, find));
  EXPECT_EQ(script.listing,
            std::vector<std::string>{"¡ La clase \"Nowhere\" no se ha encontrado !"});
  TMHWScript shown;
  shown.plain = script.plain;
  EXPECT_FALSE(ListaFuente(shown, {table, messages, true}, find));
  EXPECT_TRUE(shown.listing.empty());
  ASSERT_EQ(shown.shown.size(), 1u);
  EXPECT_EQ(shown.shown[0].Rows(), (std::vector<int>{262, 263}));
}

// Hostile tables: an entry of length 0 ends the listing at once, a negative length still moves on.
TEST(ScriptLister, ZeroOrNegativeLengthsEndWithinTheBytes) {
  InstructionTable table = TableFrom(kTable);
  table.At(1).oplen = table.At(1).parlen = 0;
  table.At(4).oplen = -6;
  const MessageTable messages;
  TMHWScript script;
  script.plain = Script([](auto& a) { a.Int(op::kPushInt, 1).Var(op::kPushVar, 0, 0).Op(op::kEnd); }, {});
  ListaFuente(script, {table, messages, false}, {});
  EXPECT_EQ(script.instructions_decoded, 1u);
  script.plain = Script([](auto& a) { a.Var(op::kPushVar, 0, 0).Int(op::kPushInt, 1).Op(op::kEnd); }, {});
  ListaFuente(script, {table, messages, false}, {});
  EXPECT_LE(script.instructions_decoded, script.plain.size());
}

TEST(InstructionTable, ReadingRules) {
  InstructionTable table;
  const std::string text =
      "; a comment\r\nNAME=before\r\npop=1\r\n\r\n[0003]\r\nName=three\r\nMNEM=a=b\r\n"
      "par =int\r\npar=char\r\nparlen=4\r\nshift = -1\r\nunknown=1\r\n[0340]\r\nname=last\r\n"
      "[0400]\r\nname=beyond\r\n[00a1]\r\noplen=0\r\n";
  ASSERT_TRUE(table.Read(View(text)));
  // Only a [0000] line defines entry 0.
  EXPECT_EQ(std::tuple(table.Entry(0).name, table.Entry(0).pop, table.Entry(0).undefined),
            std::tuple("before", 1, true));
  const InstructionEntry& three = table.Entry(3);
  EXPECT_EQ(std::tuple(three.undefined, three.name, three.mnem, three.par, three.parlen, three.shift),
            std::tuple(false, "three", "a=b", "char", 4, -1));
  EXPECT_EQ(table.Entry(832).name, "last");
  EXPECT_EQ(table.Name(0x400), "func0400");
  EXPECT_EQ(table.Entry(0xA1).oplen, 0);

  InstructionTable stopped;
  const std::string bad = "[0001]\npop=2\n[0002]\npush=two\n[0003]\npop=3\n";
  const Result result = stopped.Read(View(bad));
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(RenderMessage(result.message), "Valor no numérico en asm_inst.ini, línea 4: push=two");
  EXPECT_EQ(stopped.Entry(1).pop, 2);
  EXPECT_EQ(stopped.Entry(3).pop, 0);

  EXPECT_EQ(table.ReadFile("/nonexistent/asm_inst.ini").outcome, Outcome::IoError);
  EXPECT_TRUE(table.Entry(3).undefined);  // reading starts from the defaults
}

}  // namespace
}  // namespace corvane
